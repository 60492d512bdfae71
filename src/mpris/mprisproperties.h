#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QDBusVariant>
#include <QVariantMap>

// The object's org.freedesktop.DBus.Properties, answering for the other adaptors of the object
// it is made on, in place of Qt's own: Qt answers a value of the wrong type with an internal
// error of its own, where the caller is owed InvalidArgs. Qt tells the call being answered to the
// object, which is thus a QDBusContext too.
class MprisProperties : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // Qt describes the standard interface itself.
    Q_CLASSINFO("D-Bus Introspection", "<!-- org.freedesktop.DBus.Properties: as described -->")

public:
    MprisProperties(QObject* object, const QDBusContext& call)
        : QDBusAbstractAdaptor(object), call_(call)
    {
    }

public slots:
    QDBusVariant Get(const QString& interface, const QString& name);
    QVariantMap GetAll(const QString& interface);
    void Set(const QString& interface, const QString& name, const QDBusVariant& value);

private:
    // The adaptor of an interface, or nothing once an error has been answered.
    QObject* adaptorOf(const QString& interface);
    // A property of that adaptor, or an invalid one once an error has been answered.
    QMetaProperty propertyOf(const QString& interface, const QString& name, QObject** adaptor);

    const QDBusContext& call_;
};
