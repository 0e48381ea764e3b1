// SPDX-License-Identifier: MIT
// Bringing the books a class was handed onto the learner's device: each newer one fetched,
// checked as the chooser would read it, written whole under its fixed name (c1.dat …) in
// the store's folder, the phonetics of its words added to the table there, and only then
// remembered in the link as the version this device has.
#pragma once

#include <string>
#include <vector>

#include "hub_exchange.h"
#include "hub_link.h"

namespace studysync {

// The versions `link` says this device has, for a sync's request.
std::vector<BookVersion> BooksHad(const HubLink& link);

// Receives each of `newer` into `folder`, saving `link` at `linkPath` after each; how many
// were written goes to `received`. False with `failure` set at the first that could not be
// fetched, used or written whole: that one is not remembered, and the next sync brings it
// again.
bool ReceiveBooks(const Post& post, const std::vector<BookVersion>& newer,
                  const std::string& folder, HubLink& link, const std::string& linkPath,
                  int& received, HubFailure& failure);

}  // namespace studysync
