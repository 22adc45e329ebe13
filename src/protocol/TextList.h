#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace arx {

// Rows of texts under fixed column titles: what a list control of the main window shows.
// Cells are bytes in GBK, like the device texts many of them come from.
template <std::size_t Columns> class TextList {
public:
    using Row = std::array<std::string, Columns>;

    explicit TextList(std::array<const char *, Columns> titles)
        : titles_(titles)
    {
    }

    static constexpr std::size_t columnCount() { return Columns; }
    const char *title(std::size_t column) const { return titles_.at(column); }

    std::size_t rowCount() const { return rows_.size(); }
    const std::vector<Row> &rows() const { return rows_; }
    const std::string &cell(std::size_t row, std::size_t column) const
    {
        return rows_.at(row).at(column);
    }

    void setCell(std::size_t row, std::size_t column, std::string text)
    {
        rows_.at(row).at(column) = std::move(text);
    }
    void appendRow(Row row) { rows_.push_back(std::move(row)); }
    void removeRow(std::size_t row) { rows_.erase(rows_.begin() + static_cast<long>(row)); }
    void clear() { rows_.clear(); }

    // The first row whose cell in `column` equals `text`, or -1.
    int findRow(std::size_t column, const std::string &text) const
    {
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            if (rows_[row].at(column) == text)
                return static_cast<int>(row);
        }
        return -1;
    }

private:
    std::array<const char *, Columns> titles_;
    std::vector<Row> rows_;
};

} // namespace arx
