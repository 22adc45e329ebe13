#include "app/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace arx {

// Opening a GBK converter costs far more than converting a list cell, and a search refreshes
// hundreds of cells, so each thread keeps one of each and starts it afresh for every text.
QString fromGbk(std::string_view bytes)
{
    // Below 0x80 GBK is ASCII: addresses, numbers and most names need no converter.
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return (byte & 0x80) == 0; }))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    thread_local QStringDecoder decoder("GBK");
    decoder.resetState();
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toGbk(const QString &text)
{
    thread_local QStringEncoder encoder("GBK");
    encoder.resetState();
    const QByteArray bytes = encoder.encode(text);
    return bytes.toStdString();
}

} // namespace arx
