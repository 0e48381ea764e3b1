// SPDX-License-Identifier: MIT
// A tiny web server on 127.0.0.1 that serves the files of one folder, for the web panels.
#pragma once

#include <QString>
#include <QTcpServer>

namespace testsupport {

class LocalSite : public QObject {
  Q_OBJECT

 public:
  // On `port`, or on one the system picks (0).
  explicit LocalSite(QString folder, quint16 port = 0);
  // "127.0.0.1:PORT": the host part of the panels' addresses.
  QString host() const;

 private:
  void serve(QTcpSocket* socket);

  QString folder_;
  QTcpServer server_;
};

}  // namespace testsupport
