#include "app/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace paylark::app {
namespace {

constexpr char kRaise[] = "raise\n";

}  // namespace

QString SingleInstance::DefaultName() {
  // Per user: the runtime folder is the user's own.
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QStringLiteral("Tallymon") : QDir(runtime).filePath(QStringLiteral("Tallymon"));
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
}

bool SingleInstance::AnotherIsRunning() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(500)) return false;
  socket.write(kRaise);
  socket.waitForBytesWritten(500);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    // A server file left by a crashed instance: nobody answered AnotherIsRunning, so remove it.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
      connect(client, &QLocalSocket::readyRead, this, [this, client] {
        if (client->readAll().startsWith("raise")) emit RaiseRequested();
      });
      connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    }
  });
  return true;
}

}  // namespace paylark::app
