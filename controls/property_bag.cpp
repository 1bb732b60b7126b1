// SPDX-License-Identifier: GPL-3.0-or-later
#include "property_bag.h"

namespace trelvik {

void PropertyBag::Write(const QString &key, const QVariant &value)
{
    const QString folded = key.toLower();
    if (!values_.contains(folded))
        keys_.append(folded);
    values_.insert(folded, value);
}

QVariant PropertyBag::Read(const QString &key, const QVariant &defaultValue) const
{
    const auto found = values_.constFind(key.toLower());
    return found == values_.constEnd() ? defaultValue : found.value();
}

bool PropertyBag::Contains(const QString &key) const
{
    return values_.contains(key.toLower());
}

quint32 PropertyBag::ReadColour(const QString &key, quint32 defaultValue) const
{
    const QVariant value = Read(key, {});
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok)
        return defaultValue;
    return static_cast<quint32>(static_cast<qulonglong>(number) & 0xFFFFFFFFu);
}

} // namespace trelvik
