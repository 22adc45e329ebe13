#pragma once

#include "protocol/TextList.h"

namespace arx {

// The loudspeaker processors the operator can connect to (`rdaList`).
enum ProcessorColumn : std::size_t {
    ProcessorAddressColumn = 0,
    ProcessorNameColumn = 1,
    ProcessorPortColumn = 2,
    ProcessorStatusColumn = 3,
};

class ProcessorListModel : public TextList<4> {
public:
    ProcessorListModel()
        : TextList<4>({ "RDA IP", "Name", "Port", "Status" })
    {
    }
};

// Status texts as GBK bytes, like every cell: "未连接", "已连接", "已断开".
inline const std::string ProcessorNotConnected = "\xCE\xB4\xC1\xAC\xBD\xD3";
inline const std::string ProcessorConnected = "\xD2\xD1\xC1\xAC\xBD\xD3";
inline const std::string ProcessorDisconnected = "\xD2\xD1\xB6\xCF\xBF\xAA";

} // namespace arx
