// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QString>

namespace trelvik {

// A caption kept as UTF-16LE bytes (code unit i is bytes 2i and 2i + 1) with its length in code
// units. The bytes may end in an odd byte, which is kept but never drawn. Every mutator returns
// true only when it changed the bytes or the length, so the owning control raises exactly one
// change notice per real change.
class UniCaption
{
public:
    static constexpr qint32 kMaxCaptionLen = 0x3FFFFFFF;

    UniCaption() = default;
    explicit UniCaption(const QString &text) { SetCaption(text); }

    // The text of the caption's code units, taken as they are (lone surrogates included).
    QString Caption() const;
    bool SetCaption(const QString &text);

    qint32 CaptionLen() const { return captionLen_; }
    // Clamps n to 0 … kMaxCaptionLen, then truncates or extends with zero code units. Returns
    // false, leaving the caption as it was, when n is the current length or the memory for the
    // extension cannot be had.
    bool SetCaptionLen(qint64 n);

    // Low byte of code unit index; 0 outside the caption.
    quint8 CaptionAscB(qint64 index) const;
    // Replaces only the low byte; an index outside the caption is ignored.
    bool SetCaptionAscB(qint64 index, quint8 value);

    // Code unit index read as signed 16 bits; 0 outside the caption.
    qint16 CaptionAscW(qint64 index) const;
    // Replaces both bytes; an index outside the caption is ignored.
    bool SetCaptionAscW(qint64 index, qint16 value);

    QByteArray GetCaptionB() const { return bytes_; }
    // Takes a copy; the length is the byte count halved and rounded down.
    bool SetCaptionB(const QByteArray &bytes);

    // Takes stored bytes and a stored length as a host hands them back. A stored length never
    // reaches past the stored bytes (a damaged store cannot make the drawing read beyond them);
    // a shorter one truncates the bytes as setting CaptionLen would.
    void Restore(const QByteArray &bytes, qint64 storedLen);

    // The first CaptionLen code units as text: what is measured and drawn.
    QString DrawnText() const;

    // The access key: the code unit after the first ampersand that is not part of an ampersand
    // pair, scanning up to the last but one code unit. None when there is no such marker.
    std::optional<char16_t> AccessKey() const;

private:
    char16_t UnitAt(qint32 index) const;

    QByteArray bytes_;
    qint32 captionLen_ = 0;
};

} // namespace trelvik
