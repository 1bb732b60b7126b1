// SPDX-License-Identifier: GPL-3.0-or-later
#include "uni_caption.h"

#include <algorithm>
#include <new>

namespace trelvik {

namespace {

QByteArray Utf16LeBytes(const QString &text)
{
    QByteArray bytes;
    bytes.resize(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        bytes[2 * i] = static_cast<char>(unit & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(unit >> 8);
    }
    return bytes;
}

QString TextOfUnits(const QByteArray &bytes, qint32 unitCount)
{
    QString text(unitCount, Qt::Uninitialized);
    for (qint32 i = 0; i < unitCount; ++i) {
        const auto low = static_cast<quint8>(bytes.at(2 * i));
        const auto high = static_cast<quint8>(bytes.at(2 * i + 1));
        text[i] = QChar(static_cast<char16_t>(high << 8 | low));
    }
    return text;
}

} // namespace

QString UniCaption::Caption() const
{
    return TextOfUnits(bytes_, static_cast<qint32>(bytes_.size() / 2));
}

bool UniCaption::SetCaption(const QString &text)
{
    const QByteArray bytes = Utf16LeBytes(text);
    if (bytes == bytes_ && captionLen_ == bytes.size() / 2)
        return false;
    bytes_ = bytes;
    captionLen_ = static_cast<qint32>(bytes_.size() / 2);
    return true;
}

bool UniCaption::SetCaptionLen(qint64 n)
{
    const auto len = static_cast<qint32>(std::clamp<qint64>(n, 0, kMaxCaptionLen));
    if (len == captionLen_)
        return false;
    if (len == 0) {
        bytes_.clear();
    } else {
        // A host may ask for up to a gigabyte of code units; when that memory is not there the
        // caption stays as it was rather than taking the program down.
        try {
            const qsizetype oldSize = bytes_.size();
            bytes_.resize(qsizetype{len} * 2);
            if (bytes_.size() > oldSize)
                std::fill(bytes_.begin() + oldSize, bytes_.end(), '\0');
        } catch (const std::bad_alloc &) {
            return false;
        }
    }
    captionLen_ = len;
    return true;
}

char16_t UniCaption::UnitAt(qint32 index) const
{
    const auto low = static_cast<quint8>(bytes_.at(2 * qsizetype{index}));
    const auto high = static_cast<quint8>(bytes_.at(2 * qsizetype{index} + 1));
    return static_cast<char16_t>(high << 8 | low);
}

quint8 UniCaption::CaptionAscB(qint64 index) const
{
    if (index < 0 || index >= captionLen_)
        return 0;
    return static_cast<quint8>(bytes_.at(2 * index));
}

bool UniCaption::SetCaptionAscB(qint64 index, quint8 value)
{
    if (index < 0 || index >= captionLen_ || CaptionAscB(index) == value)
        return false;
    bytes_[2 * index] = static_cast<char>(value);
    return true;
}

qint16 UniCaption::CaptionAscW(qint64 index) const
{
    if (index < 0 || index >= captionLen_)
        return 0;
    return static_cast<qint16>(UnitAt(static_cast<qint32>(index)));
}

bool UniCaption::SetCaptionAscW(qint64 index, qint16 value)
{
    if (index < 0 || index >= captionLen_ || CaptionAscW(index) == value)
        return false;
    const auto unit = static_cast<quint16>(value);
    bytes_[2 * index] = static_cast<char>(unit & 0xFF);
    bytes_[2 * index + 1] = static_cast<char>(unit >> 8);
    return true;
}

bool UniCaption::SetCaptionB(const QByteArray &bytes)
{
    if (bytes == bytes_)
        return false;
    bytes_ = bytes;
    captionLen_ = static_cast<qint32>(std::min<qsizetype>(bytes_.size() / 2, kMaxCaptionLen));
    return true;
}

void UniCaption::Restore(const QByteArray &bytes, qint64 storedLen)
{
    bytes_ = bytes;
    const qint64 available = std::min<qint64>(bytes_.size() / 2, kMaxCaptionLen);
    captionLen_ = static_cast<qint32>(std::clamp<qint64>(storedLen, 0, available));
    if (captionLen_ < available)
        bytes_.truncate(2 * qsizetype{captionLen_});
}

QString UniCaption::DrawnText() const
{
    return TextOfUnits(bytes_, captionLen_);
}

std::optional<char16_t> UniCaption::AccessKey() const
{
    for (qint32 i = 0; i + 1 < captionLen_; ++i) {
        if (UnitAt(i) != u'&')
            continue;
        const char16_t next = UnitAt(i + 1);
        if (next != u'&')
            return next;
        ++i; // an ampersand pair stands for one literal ampersand
    }
    return std::nullopt;
}

} // namespace trelvik
