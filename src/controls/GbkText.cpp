#include "controls/GbkText.h"

#include "format/Gbk.h"

namespace arx {

QString fromGbk(std::string_view bytes)
{
    return QString::fromStdString(gbkToUtf8(bytes));
}

std::string toGbk(const QString &text)
{
    return utf8ToGbk(text.toStdString());
}

} // namespace arx
