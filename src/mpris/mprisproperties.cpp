#include "mprisproperties.h"

#include <QDBusError>
#include <QMetaProperty>

QObject* MprisProperties::adaptorOf(const QString& interface)
{
    for (QObject* child : parent()->children()) {
        const QMetaObject* meta = child->metaObject();
        const int info = meta->indexOfClassInfo("D-Bus Interface");
        if (child != this && qobject_cast<QDBusAbstractAdaptor*>(child) && info >= 0 &&
            interface == QLatin1StringView(meta->classInfo(info).value()))
            return child;
    }
    call_.sendErrorReply(QDBusError::UnknownInterface, QStringLiteral("No interface ") + interface);
    return nullptr;
}

QMetaProperty MprisProperties::propertyOf(const QString& interface, const QString& name,
                                          QObject** adaptor)
{
    *adaptor = adaptorOf(interface);
    if (!*adaptor)
        return {};
    const QMetaObject* meta = (*adaptor)->metaObject();
    const int index = meta->indexOfProperty(name.toUtf8().constData());
    if (index < QDBusAbstractAdaptor::staticMetaObject.propertyCount()) {
        call_.sendErrorReply(QDBusError::UnknownProperty, QStringLiteral("No property ") + name);
        return {};
    }
    return meta->property(index);
}

QDBusVariant MprisProperties::Get(const QString& interface, const QString& name)
{
    QObject* adaptor = nullptr;
    const QMetaProperty property = propertyOf(interface, name, &adaptor);
    return QDBusVariant(property.isValid() ? property.read(adaptor) : QVariant(0));
}

QVariantMap MprisProperties::GetAll(const QString& interface)
{
    QVariantMap all;
    if (QObject* adaptor = adaptorOf(interface)) {
        const QMetaObject* meta = adaptor->metaObject();
        for (int index = QDBusAbstractAdaptor::staticMetaObject.propertyCount();
             index < meta->propertyCount(); ++index)
            all.insert(QString::fromLatin1(meta->property(index).name()),
                       meta->property(index).read(adaptor));
    }
    return all;
}

void MprisProperties::Set(const QString& interface, const QString& name, const QDBusVariant& value)
{
    QObject* adaptor = nullptr;
    const QMetaProperty property = propertyOf(interface, name, &adaptor);
    if (!property.isValid())
        return;
    if (!property.isWritable())
        call_.sendErrorReply(QDBusError::PropertyReadOnly, name + QStringLiteral(" is read-only"));
    else if (value.variant().metaType() != property.metaType())
        call_.sendErrorReply(QDBusError::InvalidArgs,
                             name + QStringLiteral(" takes ") +
                                 QLatin1StringView(property.metaType().name()));
    else
        property.write(adaptor, value.variant());
}
