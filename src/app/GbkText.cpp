#include "app/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace arx {

// Opening a GBK converter costs far more than converting a list cell, and a search refreshes
// hundreds of cells, so each thread keeps one of each and starts it afresh for every text.
QString fromGbk(std::string_view bytes)
{
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
