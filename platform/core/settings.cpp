#include "settings.h"

#include <QCoreApplication>
#include <QSettings>

namespace platform::settings {

namespace {

QString storeName()
{
    // Qt derives the application name from the executable's file name unless told otherwise.
    return QCoreApplication::applicationName();
}

QString entry(const QString &section, const QString &key)
{
    return section + u'/' + key;
}

} // namespace

QString read(const QString &section, const QString &key, const QString &fallback)
{
    QSettings store(QSettings::UserScope, storeName(), storeName());
    return store.value(entry(section, key), fallback).toString();
}

bool write(const QString &section, const QString &key, const QString &value)
{
    QSettings store(QSettings::UserScope, storeName(), storeName());
    // Writing the store waits for the disk; the tips box writes its value at every start, and
    // most often that value is already there.
    if (store.status() == QSettings::NoError && store.value(entry(section, key)) == QVariant(value))
        return true;
    store.setValue(entry(section, key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace platform::settings
