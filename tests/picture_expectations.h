// The lines of tests/pictures/expected.txt: what each loader shows for each test picture.
// Shared by the native tests and the Wine check program.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace picture_tests {

struct PixelExpectation {
    int x = 0, y = 0;
    std::uint32_t rgb = 0;  // 0xRRGGBB, as written
    int tolerance = 0;
};

struct Expectation {
    std::string loader;  // "loader", "eighth" or "gdiplus"
    std::string file;
    bool readable = false;
    int width = 0, height = 0;
    std::vector<PixelExpectation> pixels;
};

inline std::vector<Expectation> ReadExpectations(const std::string& path) {
    std::vector<Expectation> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Expectation e;
        std::string size;
        words >> e.loader >> e.file >> size;
        e.readable = size != "unreadable";
        if (e.readable) {
            e.width = std::atoi(size.c_str());
            e.height = std::atoi(size.c_str() + size.find('x') + 1);
            for (std::string px; words >> px;) {
                PixelExpectation p;
                p.x = std::atoi(px.c_str());
                p.y = std::atoi(px.c_str() + px.find(',') + 1);
                p.rgb = static_cast<std::uint32_t>(
                    std::strtoul(px.c_str() + px.find('=') + 1, nullptr, 16));
                const auto tilde = px.find('~');
                if (tilde != std::string::npos) p.tolerance = std::atoi(px.c_str() + tilde + 1);
                e.pixels.push_back(p);
            }
        }
        out.push_back(e);
    }
    return out;
}

// A 0x00BBGGRR colour against an expectation; "" when it matches, else what differs.
inline std::string Compare(const PixelExpectation& p, std::uint32_t colorref) {
    const std::uint32_t got =
        ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 0xFF);
        const int b = static_cast<int>((p.rgb >> shift) & 0xFF);
        if (std::abs(a - b) > p.tolerance) {
            char text[64];
            std::snprintf(text, sizeof text, "(%d,%d) is %06x, not %06x", p.x, p.y,
                          static_cast<unsigned>(got), static_cast<unsigned>(p.rgb));
            return text;
        }
    }
    return {};
}

}  // namespace picture_tests
