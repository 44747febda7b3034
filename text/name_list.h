#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// File names held end to end in one block of text. A listing of a hundred
// thousand names costs a few allocations rather than one per name, and
// putting it in another order moves no text. Cleared, it keeps its storage
// for the next listing.
class NameList {
public:
    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::size_t text_size() const { return text_.size(); }

    std::string_view operator[](std::size_t i) const {
        return std::string_view(text_).substr(spans_[i].offset, spans_[i].length);
    }

    void push_back(std::string_view name) {
        spans_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(name.size())});
        text_.append(name);
    }

    void clear() {
        text_.clear();
        spans_.clear();
    }

    // Puts the names in a new order: index_at(k) tells which name goes to k.
    template <typename IndexAt>
    void reorder(IndexAt index_at) {
        spare_.resize(spans_.size());
        for (std::size_t k = 0; k < spans_.size(); ++k) spare_[k] = spans_[index_at(k)];
        spans_.swap(spare_);
    }

    std::vector<std::string> to_vector() const {
        std::vector<std::string> names;
        names.reserve(size());
        for (std::size_t i = 0; i < size(); ++i) names.emplace_back((*this)[i]);
        return names;
    }

private:
    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::string text_;
    std::vector<Span> spans_;
    std::vector<Span> spare_;
};

}  // namespace text
