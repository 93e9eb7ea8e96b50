#pragma once

#include <QByteArray>
#include <QString>

/*!
    Reads the big-endian values of a Qt 4.6 data stream from bytes held in
    memory, trusting no length: a value that runs past the end, or a string
    of an odd byte length, puts the reader into the failed state and moves it
    to the end. The files' readers build on it so that a damaged or hostile
    file costs no more than its own size.
*/
class DataStreamReader
{
public:
    explicit DataStreamReader(const QByteArray& data);

    bool atEnd() const { return pos >= size; }
    bool failed() const { return bad; }
    quint64 remaining() const { return size - pos; }

    /*! The next quint32, or 0 once the data is exhausted. */
    quint32 readUInt32();

    /*! The next quint64, or 0 once the data is exhausted. */
    quint64 readUInt64();

    /*! The next double (IEEE 754, big-endian), or 0 once the data is exhausted. */
    double readDouble();

    /*! The next QString: null for the null marker, empty when it cannot be read. */
    QString readString();

private:
    void fail();

    const uchar* begin;
    quint64 size;
    quint64 pos = 0;
    bool bad = false;
};
