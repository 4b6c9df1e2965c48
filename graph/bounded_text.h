// A zero-terminated text in a fixed buffer of Size bytes: at most Size - 1 characters, longer
// texts are cut. The buffer is always terminated, so c_str() is safe whatever was assigned.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

template <std::size_t Size> class BoundedText {
    static_assert(Size >= 1);

  public:
    static constexpr std::size_t capacity = Size - 1;

    BoundedText() = default;
    explicit BoundedText(std::string_view text) { assign(text); }

    // Takes the text up to its first zero byte and at most capacity characters; the bytes after
    // the terminator are zero, so a whole-buffer write never shows remains of an older text.
    void assign(std::string_view text) {
        const std::size_t zero = text.find('\0');
        const std::size_t length = std::min({text.size(), zero, capacity});
        std::fill(std::copy_n(text.data(), length, buffer_.begin()), buffer_.end(), '\0');
    }
    BoundedText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    const char* c_str() const { return buffer_.data(); }
    std::string_view view() const { return {buffer_.data(), std::strlen(buffer_.data())}; }
    bool empty() const { return buffer_[0] == '\0'; }
    // The whole buffer, terminator and trailing zeros included, as a document block holds it.
    const std::array<char, Size>& bytes() const { return buffer_; }

    friend bool operator==(const BoundedText& a, std::string_view b) { return a.view() == b; }

  private:
    std::array<char, Size> buffer_{};
};
