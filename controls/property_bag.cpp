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

} // namespace trelvik
