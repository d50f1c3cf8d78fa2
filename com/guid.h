#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace com {

// A 128-bit class or interface identifier, laid out and printed as on the original
// platform: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper-case hexadecimal.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend bool operator==(const Guid&, const Guid&) = default;

    // Accepts the braced form above, case-insensitively; anything else gives nothing.
    static std::optional<Guid> parse(const QString& text) {
        if (text.size() != 38 || text.front() != u'{' || text.back() != u'}')
            return std::nullopt;
        static constexpr int dashes[] = {9, 14, 19, 24};
        for (int d : dashes)
            if (text[d] != u'-')
                return std::nullopt;
        std::array<std::uint8_t, 16> bytes{};
        int n = 0;
        for (int i = 1; i < 37; ++i) {
            if (i == 9 || i == 14 || i == 19 || i == 24)
                continue;
            const int hi = hexValue(text[i]);
            const int lo = hexValue(text[i + 1]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            bytes[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
            ++i;
        }
        Guid g;
        g.data1 = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
                  std::uint32_t(bytes[2]) << 8 | bytes[3];
        g.data2 = std::uint16_t(bytes[4] << 8 | bytes[5]);
        g.data3 = std::uint16_t(bytes[6] << 8 | bytes[7]);
        for (int i = 0; i < 8; ++i)
            g.data4[i] = bytes[8 + i];
        return g;
    }

    QString toString() const {
        QString s = QStringLiteral("{%1-%2-%3-")
                        .arg(data1, 8, 16, QLatin1Char('0'))
                        .arg(data2, 4, 16, QLatin1Char('0'))
                        .arg(data3, 4, 16, QLatin1Char('0'));
        for (int i = 0; i < 8; ++i) {
            if (i == 2)
                s += u'-';
            s += QStringLiteral("%1").arg(data4[i], 2, 16, QLatin1Char('0'));
        }
        s += u'}';
        return s.toUpper();
    }

private:
    static int hexValue(QChar c) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            return u - '0';
        if (u >= 'a' && u <= 'f')
            return u - 'a' + 10;
        if (u >= 'A' && u <= 'F')
            return u - 'A' + 10;
        return -1;
    }
};

// Identifiers written in source as constants: Guid{0x02D76864, 0x5CD8, 0x402D, {0x82, ...}}.

} // namespace com
