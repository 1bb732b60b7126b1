// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace trelvik {

// The host's store of a control's design-time properties. Keys are matched without regard to
// case and kept in lower case, as the host stores them; values are ints, bools, texts, byte
// arrays, fonts, or colours as quint32 OLE colours.
class PropertyBag
{
public:
    // Stores `value` under `key`; a key written again keeps its first place in Keys().
    void Write(const QString &key, const QVariant &value);

    // The value under `key`, or `defaultValue` when the key was never written.
    QVariant Read(const QString &key, const QVariant &defaultValue) const;

    bool Contains(const QString &key) const;

    // A stored OLE colour: any integer value (a host may keep it signed, as a 32-bit long) is
    // taken by its low 32 bits; a missing key or a value that is no number gives the default.
    quint32 ReadColour(const QString &key, quint32 defaultValue) const;

    // The stored keys (lower case) in the order they were first written.
    QStringList Keys() const { return keys_; }

private:
    QHash<QString, QVariant> values_;
    QStringList keys_;
};

} // namespace trelvik
