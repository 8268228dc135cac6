#include "settings.h"

#include <QSettings>

namespace platform::settings {

// The registry answers at once and holds nothing but values.
QString read(const QString &section, const QString &key, const QString &fallback)
{
    QSettings store(QSettings::UserScope, storeName(), storeName());
    return store.value(section + u'/' + key, fallback).toString();
}

bool write(const QString &section, const QString &key, const QString &value)
{
    QSettings store(QSettings::UserScope, storeName(), storeName());
    const QString entry = section + u'/' + key;
    if (store.status() == QSettings::NoError && store.value(entry) == QVariant(value))
        return true;
    store.setValue(entry, value);
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace platform::settings
