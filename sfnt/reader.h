#pragma once
// The one way the font parsers read a file's bytes: every read is checked
// against the buffer first, so a damaged file gives "not there", never a read
// outside the buffer. Numbers in font files are big-endian.
#include <QByteArray>
#include <QtEndian>

namespace gw {

class BoundedReader {
public:
    explicit BoundedReader(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())), size_(bytes.size()) {}

    qint64 Size() const { return size_; }

    // Whether length bytes at pos lie inside the buffer.
    bool Fits(qint64 pos, qint64 length) const
    {
        return pos >= 0 && length >= 0 && pos <= size_ && length <= size_ - pos;
    }

    // The length bytes at pos, or nullptr when they are not all in the buffer.
    const uchar* Bytes(qint64 pos, qint64 length) const
    {
        return Fits(pos, length) ? data_ + pos : nullptr;
    }

    // The number at pos; false, with value untouched, when it is not all in the buffer.
    bool U16(qint64 pos, quint16& value) const
    {
        if (!Fits(pos, 2))
            return false;
        value = qFromBigEndian<quint16>(data_ + pos);
        return true;
    }
    bool U32(qint64 pos, quint32& value) const
    {
        if (!Fits(pos, 4))
            return false;
        value = qFromBigEndian<quint32>(data_ + pos);
        return true;
    }

private:
    const uchar* data_;
    qint64 size_;
};

} // namespace gw
