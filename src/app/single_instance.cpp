#include "app/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace kolvio {

namespace {

constexpr int kTimeoutMs = 1000;
constexpr char kActivate[] = "activate\n";

QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty()) user = QDir::home().dirName();
    return user;
}

}  // namespace

QString SingleInstanceName() {
    QString user = UserName();
    for (QChar& c : user) {
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_') c = u'_';
    }
    return QString::fromLatin1(kApplicationTitle) + u'-' + user;
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::handOver() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
    return true;
}

SingleInstance::Role SingleInstance::start() {
    if (handOver()) return Role::kHandedOver;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // Another copy may have started listening just now; only a socket
        // nobody answers on is a leftover of a crashed copy.
        if (handOver()) return Role::kHandedOver;
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) return Role::kAlone;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return Role::kFirst;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            if (socket->readAll().contains("activate")) emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0) read();
    }
}

}  // namespace kolvio
