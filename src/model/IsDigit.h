#pragma once

// An ASCII decimal digit. std::isdigit would follow the C locale and wants an unsigned char.
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
