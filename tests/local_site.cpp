// SPDX-License-Identifier: MIT
#include "local_site.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>

namespace testsupport {

LocalSite::LocalSite(QString folder, quint16 port) : folder_(std::move(folder)) {
  server_.listen(QHostAddress::LocalHost, port);
  connect(&server_, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

QString LocalSite::host() const {
  return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort());
}

void LocalSite::serve(QTcpSocket* socket) {
  const QByteArray request = socket->readAll();
  const QList<QByteArray> words = request.split(' ');
  const QString name = words.size() > 1 ? QString::fromLatin1(words[1]).section('/', -1) : "";
  QFile file(QDir(folder_).filePath(name));
  QByteArray response;
  if (!name.isEmpty() && file.open(QIODevice::ReadOnly)) {
    const QByteArray body = file.readAll();
    const QByteArray type = name.endsWith(".css") ? "text/css" : "text/html; charset=utf-8";
    response = "HTTP/1.0 200 OK\r\nContent-Type: " + type +
               "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
  } else {
    response = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
  }
  socket->write(response);
  socket->disconnectFromHost();
}

}  // namespace testsupport
