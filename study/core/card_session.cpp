// SPDX-License-Identifier: MIT
#include "card_session.h"

namespace study {

std::array<int, 4> CardSession::intervals(Millis now) const {
  const auto outcomes = scheduler().preview(current().state, now);
  return {outcomes[0].intervalDays, outcomes[1].intervalDays, outcomes[2].intervalDays,
          outcomes[3].intervalDays};
}

}  // namespace study
