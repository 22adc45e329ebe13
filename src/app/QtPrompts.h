#pragma once

#include "seams/Prompts.h"

class QWidget;

namespace arx {

// The operator's dialogs, parented to the main window.
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget *parent = nullptr)
        : parent_(parent)
    {
    }
    void setParent(QWidget *parent) { parent_ = parent; }

    void message(const std::string &text) override;
    bool confirm(const std::string &text) override;
    std::optional<std::string> openFileName(
        const std::string &filter, const std::string &startFolder) override;
    std::optional<std::string> saveFileName(
        const std::string &filter, const std::string &startFolder) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;

private:
    QWidget *parent_;
};

} // namespace arx
