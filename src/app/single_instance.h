// One running copy of the program per user.
//
// The first copy listens on a local socket named after the application title
// ("KOLVIO-Ostrelab") and the user. A later start connects to it, asks it to
// come to the front and ends without opening a window.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace kolvio {

inline constexpr char kApplicationTitle[] = "KOLVIO-Ostrelab";

// "KOLVIO-Ostrelab-<user>", with characters other than letters, digits, '-'
// and '_' of the user name replaced by '_'.
QString SingleInstanceName();

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Role {
        kFirst,       // this copy listens; activationRequested() follows later starts
        kHandedOver,  // another copy runs and was asked to come forward: exit
        kAlone,       // the socket could not be set up: run without the check
    };

    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands over to a running copy, or becomes the one that listens. A socket
    // left behind by a copy that crashed is removed and taken over.
    Role start();
    const QString& name() const { return name_; }

signals:
    // A later start asked this copy to come to the front.
    void activationRequested();

private:
    bool handOver();
    void onNewConnection();

    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace kolvio
