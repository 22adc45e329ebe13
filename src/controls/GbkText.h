#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace arx {

// Device texts and list cells are GBK bytes; the windows show and take Unicode (see
// format/Gbk.h for what cannot be converted).
QString fromGbk(std::string_view bytes);
// Characters that GBK cannot hold become '?'.
std::string toGbk(const QString &text);

} // namespace arx
