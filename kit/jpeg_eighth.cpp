#include "kit/jpeg_eighth.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "kit/picture_header.h"

namespace kit {

namespace {

constexpr int kMaxComponents = 3;
constexpr int kMaxSampling = 4;
constexpr int kMaxMean = 32767;

struct Huffman {
    bool defined = false;
    // Canonical decoding: codes of length l run from minCode[l] to maxCode[l]
    // (-1: none), their symbols from index valueAt[l] on.
    std::array<int, 18> minCode{}, maxCode{}, valueAt{};
    std::array<std::uint8_t, 256> values{};
    // Codes of up to kFastBits bits, looked up at once: length (0: longer) and
    // symbol.
    static constexpr int kFastBits = 9;
    std::array<std::uint8_t, 1 << kFastBits> fastLength{}, fastValue{};
};

struct Component {
    int id = 0, h = 1, v = 1, table = 0;
    int blocksWide = 0, blocksHigh = 0;  // this component's own blocks
    int paddedWide = 0, paddedHigh = 0;  // rounded up to whole MCUs
    int quant = 0;                       // the mean's quantiser, latched at its first scan
    bool latched = false;
    std::vector<int> dc;  // one mean coefficient per padded block
};

class Bits {
public:
    Bits(const std::uint8_t *data, std::size_t size, std::size_t pos)
        : d_(data), n_(size), pos_(pos) {}

    // Zeros once the data ends at a marker: only peeks may look there.
    int peek(int count) {
        fill(count);
        return static_cast<int>((acc_ >> (have_ - count)) & ((1u << count) - 1));
    }
    bool skip(int count) {
        fill(count);
        if (real_ < count) return false;
        have_ -= count;
        real_ -= count;
        return true;
    }
    bool read(int count, int &value) {
        if (count == 0) {
            value = 0;
            return true;
        }
        value = peek(count);
        return skip(count);
    }
    // Leaves the scan's data: the position of the marker that ends it.
    std::size_t markerPos() {
        have_ = real_ = 0;
        acc_ = 0;
        while (pos_ + 1 < n_ && !(d_[pos_] == 0xFF && d_[pos_ + 1] != 0x00)) ++pos_;
        atMarker_ = false;
        return pos_;
    }
    void restartAt(std::size_t pos) {
        pos_ = pos;
        have_ = real_ = 0;
        acc_ = 0;
        atMarker_ = false;
    }

private:
    void fill(int count) {
        while (have_ < count) {
            std::uint32_t byte = 0;
            if (!atMarker_ && pos_ < n_) {
                byte = d_[pos_];
                if (byte == 0xFF) {
                    if (pos_ + 1 < n_ && d_[pos_ + 1] == 0x00) {
                        pos_ += 2;
                        real_ += 8;
                    } else {
                        atMarker_ = true;
                        byte = 0;
                    }
                } else {
                    ++pos_;
                    real_ += 8;
                }
            }
            acc_ = (acc_ << 8) | byte;
            have_ += 8;
        }
    }

    const std::uint8_t *d_;
    std::size_t n_, pos_;
    std::uint32_t acc_ = 0;
    int have_ = 0, real_ = 0;  // bits in acc_, of which read from the data
    bool atMarker_ = false;
};

bool Decode(Bits &bits, const Huffman &t, int &symbol) {
    const int head = bits.peek(Huffman::kFastBits);
    if (const int len = t.fastLength[head]) {
        symbol = t.fastValue[head];
        return bits.skip(len);
    }
    for (int len = Huffman::kFastBits + 1; len <= 16; ++len) {
        const int code = bits.peek(len);
        if (t.maxCode[len] >= 0 && code <= t.maxCode[len] && code >= t.minCode[len]) {
            symbol = t.values[t.valueAt[len] + code - t.minCode[len]];
            return bits.skip(len);
        }
    }
    return false;
}

bool Extend(Bits &bits, int size, int &value) {
    if (size == 0) {
        value = 0;
        return true;
    }
    if (!bits.read(size, value)) return false;
    if (value < (1 << (size - 1))) value += 1 - (1 << size);
    return true;
}

bool BuildHuffman(const std::uint8_t *counts, const std::uint8_t *symbols, int total, Huffman &t) {
    t = Huffman{};
    std::copy(symbols, symbols + total, t.values.begin());
    int code = 0, k = 0;
    for (int len = 1; len <= 16; ++len) {
        const int n = counts[len - 1];
        t.valueAt[len] = k;
        t.minCode[len] = code;
        t.maxCode[len] = n ? code + n - 1 : -1;
        for (int i = 0; i < n; ++i, ++k, ++code) {
            if (code >= (1 << len) - 1) return false;  // no code may be all ones
            if (len <= Huffman::kFastBits) {
                const int shift = Huffman::kFastBits - len;
                for (int j = 0; j < (1 << shift); ++j) {
                    t.fastLength[(code << shift) | j] = static_cast<std::uint8_t>(len);
                    t.fastValue[(code << shift) | j] = symbols[k];
                }
            }
        }
        code <<= 1;
    }
    t.defined = true;
    return true;
}

std::uint32_t Be16(const std::uint8_t *p) { return (p[0] << 8) | p[1]; }

class Decoder {
public:
    Decoder(const std::uint8_t *data, std::size_t size) : d_(data), n_(size) {}

    std::optional<EighthPicture> run() {
        if (n_ < 4 || d_[0] != 0xFF || d_[1] != 0xD8) return std::nullopt;
        std::size_t pos = 2;
        for (;;) {
            // A marker, after any fill bytes.
            if (pos + 2 > n_ || d_[pos] != 0xFF) return std::nullopt;
            while (pos + 1 < n_ && d_[pos + 1] == 0xFF) ++pos;
            if (pos + 2 > n_) return std::nullopt;
            const std::uint8_t m = d_[pos + 1];
            pos += 2;
            if (m == 0xD9) break;
            if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) return std::nullopt;
            if (pos + 2 > n_) return std::nullopt;
            const std::size_t len = Be16(d_ + pos);
            if (len < 2 || pos + len > n_) return std::nullopt;
            const std::uint8_t *seg = d_ + pos + 2;
            const std::size_t segLen = len - 2;
            pos += len;
            bool ok = true;
            switch (m) {
                case 0xC0:
                case 0xC1:
                case 0xC2:
                    ok = frame(seg, segLen, m == 0xC2);
                    break;
                case 0xC4:
                    ok = huffman(seg, segLen);
                    break;
                case 0xDB:
                    ok = quantisers(seg, segLen);
                    break;
                case 0xDD:
                    ok = segLen >= 2 && (restartInterval_ = Be16(seg), true);
                    break;
                case 0xE0:
                    jfif_ = jfif_ || (segLen >= 5 && std::memcmp(seg, "JFIF", 5) == 0);
                    break;
                case 0xEE:
                    if (segLen >= 12 && std::memcmp(seg, "Adobe", 5) == 0)
                        adobeTransform_ = seg[11];
                    break;
                case 0xDA:
                    ok = scan(seg, segLen, pos);  // leaves pos on the marker after the scan
                    break;
                default:
                    // Other frame types (lossless, arithmetic, hierarchical) and DNL: not
                    // ours.
                    if ((m >= 0xC3 && m <= 0xCF) || m == 0xDC) return std::nullopt;
                    break;  // application data, comments
            }
            if (!ok) return std::nullopt;
        }
        if (!framed_ || !scanned_) return std::nullopt;
        for (int c = 0; c < count_; ++c)
            if (!comp_[c].latched) return std::nullopt;  // a component without data
        return picture();
    }

private:
    bool frame(const std::uint8_t *s, std::size_t n, bool progressive) {
        if (framed_ || n < 6) return false;
        if (s[0] != 8) return false;  // 12-bit samples
        height_ = static_cast<int>(Be16(s + 1));
        width_ = static_cast<int>(Be16(s + 3));
        count_ = s[5];
        if (width_ == 0 || height_ == 0 || !WithinPixelCap(width_, height_)) return false;
        if ((count_ != 1 && count_ != 3) || n < 6 + 3u * count_) return false;
        progressive_ = progressive;
        for (int c = 0; c < count_; ++c) {
            Component &k = comp_[c];
            k.id = s[6 + 3 * c];
            k.h = s[7 + 3 * c] >> 4;
            k.v = s[7 + 3 * c] & 15;
            k.table = s[8 + 3 * c];
            if (k.h < 1 || k.h > kMaxSampling || k.v < 1 || k.v > kMaxSampling || k.table > 3)
                return false;
            hMax_ = std::max(hMax_, k.h);
            vMax_ = std::max(vMax_, k.v);
        }
        mcusWide_ = (width_ + 8 * hMax_ - 1) / (8 * hMax_);
        mcusHigh_ = (height_ + 8 * vMax_ - 1) / (8 * vMax_);
        for (int c = 0; c < count_; ++c) {
            Component &k = comp_[c];
            if (hMax_ % k.h || vMax_ % k.v) return false;
            k.blocksWide = static_cast<int>((static_cast<long long>(width_) * k.h + 8 * hMax_ - 1) /
                                            (8 * hMax_));
            k.blocksHigh = static_cast<int>(
                (static_cast<long long>(height_) * k.v + 8 * vMax_ - 1) / (8 * vMax_));
            k.paddedWide = mcusWide_ * k.h;
            k.paddedHigh = mcusHigh_ * k.v;
            k.dc.assign(static_cast<std::size_t>(k.paddedWide) * k.paddedHigh, 0);
        }
        framed_ = true;
        return true;
    }

    bool huffman(const std::uint8_t *s, std::size_t n) {
        std::size_t i = 0;
        while (i < n) {
            if (i + 17 > n) return false;
            const int cls = s[i] >> 4, id = s[i] & 15;
            if (cls > 1 || id > 3) return false;
            int total = 0;
            for (int l = 0; l < 16; ++l) total += s[i + 1 + l];
            if (total > 256 || i + 17 + total > n) return false;
            if (!BuildHuffman(s + i + 1, s + i + 17, total, cls ? ac_[id] : dc_[id])) return false;
            i += 17 + total;
        }
        return true;
    }

    bool quantisers(const std::uint8_t *s, std::size_t n) {
        std::size_t i = 0;
        while (i < n) {
            const int wide = s[i] >> 4, id = s[i] & 15;
            const std::size_t len = 1 + 64 * (wide ? 2 : 1);
            if (wide > 1 || id > 3 || i + len > n) return false;
            quant_[id] = wide ? static_cast<int>(Be16(s + i + 1)) : s[i + 1];
            quantSet_[id] = true;
            i += len;
        }
        return true;
    }

    bool scan(const std::uint8_t *s, std::size_t n, std::size_t &pos) {
        if (!framed_ || n < 1) return false;
        const int ns = s[0];
        if (ns < 1 || ns > count_ || n < 4 + 2u * ns) return false;
        std::array<int, kMaxComponents> which{};
        std::array<int, kMaxComponents> dcTable{}, acTable{};
        for (int i = 0; i < ns; ++i) {
            const int id = s[1 + 2 * i];
            int c = 0;
            while (c < count_ && comp_[c].id != id) ++c;
            if (c == count_) return false;
            which[i] = c;
            dcTable[i] = s[2 + 2 * i] >> 4;
            acTable[i] = s[2 + 2 * i] & 15;
            if (dcTable[i] > 3 || acTable[i] > 3) return false;
        }
        const std::uint8_t *tail = s + 1 + 2 * ns;
        const int ss = tail[0], se = tail[1], ah = tail[2] >> 4, al = tail[2] & 15;
        scanned_ = true;
        Bits bits(d_, n_, pos);
        if (progressive_ && ss != 0) {
            // Detail only: its data is passed over.
            if (ss > se || se > 63) return false;
            pos = bits.markerPos();
            return skipRestarts(bits, pos);
        }
        if (progressive_ ? se != 0 : (ss != 0 || se != 63 || ah != 0 || al != 0)) return false;
        if (al > 13) return false;
        for (int i = 0; i < ns; ++i) {
            Component &k = comp_[which[i]];
            if (!k.latched) {
                if (!quantSet_[k.table]) return false;
                k.quant = quant_[k.table];
                k.latched = true;
            }
            if (ah == 0 && !dc_[dcTable[i]].defined) return false;
            if (!progressive_ && !ac_[acTable[i]].defined) return false;
        }

        std::array<int, kMaxComponents> pred{};
        long long units = 0;  // MCUs, or blocks in a scan of one component
        long long total;
        int unitsWide;
        if (ns == 1) {
            unitsWide = comp_[which[0]].blocksWide;
            total = static_cast<long long>(unitsWide) * comp_[which[0]].blocksHigh;
        } else {
            unitsWide = mcusWide_;
            total = static_cast<long long>(mcusWide_) * mcusHigh_;
        }
        int nextRestart = 0;
        auto block = [&](int i, int bx, int by) {
            Component &k = comp_[which[i]];
            int &coef = k.dc[static_cast<std::size_t>(by) * k.paddedWide + bx];
            if (ah != 0) {  // one more low bit of the mean
                int bit = 0;
                if (!bits.read(1, bit)) return false;
                if (bit) coef |= 1 << al;
                return true;
            }
            int size = 0, diff = 0;
            if (!Decode(bits, dc_[dcTable[i]], size) || size > 11 || !Extend(bits, size, diff))
                return false;
            pred[i] += diff;
            // Means past what 8-bit samples give are damage (and would overflow).
            if (pred[i] > kMaxMean || pred[i] < -kMaxMean) return false;
            coef = pred[i] * (1 << al);
            if (coef > kMaxMean || coef < -kMaxMean) return false;
            if (progressive_) return true;
            const Huffman &ac = ac_[acTable[i]];
            for (int z = 1; z < 64;) {
                int symbol = 0;
                if (!Decode(bits, ac, symbol)) return false;
                const int run = symbol >> 4, bitsOf = symbol & 15;
                if (bitsOf == 0) {
                    if (run != 15) break;  // end of block
                    z += 16;
                    continue;
                }
                z += run;
                if (z > 63 || !bits.skip(bitsOf)) return false;
                ++z;
            }
            return true;
        };
        for (units = 0; units < total; ++units) {
            if (restartInterval_ && units > 0 && units % restartInterval_ == 0) {
                std::size_t at = bits.markerPos();
                if (at + 1 >= n_ || d_[at + 1] != 0xD0 + nextRestart) return false;
                nextRestart = (nextRestart + 1) & 7;
                bits.restartAt(at + 2);
                pred = {};
            }
            const int ux = static_cast<int>(units % unitsWide);
            const int uy = static_cast<int>(units / unitsWide);
            if (ns == 1) {
                if (!block(0, ux, uy)) return false;
                continue;
            }
            for (int i = 0; i < ns; ++i) {
                const Component &k = comp_[which[i]];
                for (int y = 0; y < k.v; ++y)
                    for (int x = 0; x < k.h; ++x)
                        if (!block(i, ux * k.h + x, uy * k.v + y)) return false;
            }
        }
        pos = bits.markerPos();
        return true;
    }

    // Passes over the restart markers inside skipped data.
    bool skipRestarts(Bits &bits, std::size_t &pos) {
        while (pos + 1 < n_ && d_[pos + 1] >= 0xD0 && d_[pos + 1] <= 0xD7) {
            bits.restartAt(pos + 2);
            pos = bits.markerPos();
        }
        return pos + 1 < n_;
    }

    std::optional<EighthPicture> picture() const {
        // 3 components are YCbCr unless marked otherwise (an Adobe RGB file, or one
        // named R, G, B without JFIF): those read as the whole decoder reads them.
        if (count_ == 3) {
            if (adobeTransform_ == 0) return std::nullopt;
            const bool named = (comp_[0].id == 'R' && comp_[1].id == 'G' && comp_[2].id == 'B') ||
                               (comp_[0].id == 'r' && comp_[1].id == 'g' && comp_[2].id == 'b');
            if (!jfif_ && adobeTransform_ < 0 && named) return std::nullopt;
        }
        EighthPicture p;
        p.naturalWidth = width_;
        p.naturalHeight = height_;
        p.width = EighthOf(width_);
        p.height = EighthOf(height_);
        p.bgr.resize(static_cast<std::size_t>(p.width) * p.height * 3);
        std::array<std::vector<std::uint8_t>, kMaxComponents> row;
        for (int c = 0; c < count_; ++c) row[c].resize(p.width);
        std::uint8_t *out = p.bgr.data();
        for (int y = 0; y < p.height; ++y) {
            for (int c = 0; c < count_; ++c) {
                const Component &k = comp_[c];
                const int by = y * k.v / vMax_;
                const int *line = k.dc.data() + static_cast<std::size_t>(by) * k.paddedWide;
                for (int x = 0; x < p.width; ++x) {
                    // The 1 x 1 inverse transform: mean = coefficient x quantiser / 8.
                    const long long scaled =
                        static_cast<long long>(line[x * k.h / hMax_]) * k.quant;
                    const int mean =
                        static_cast<int>(std::clamp((scaled + 4) >> 3, -1024LL, 1024LL));
                    row[c][x] = static_cast<std::uint8_t>(std::clamp(mean + 128, 0, 255));
                }
            }
            for (int x = 0; x < p.width; ++x, out += 3) {
                if (count_ == 1) {
                    out[0] = out[1] = out[2] = row[0][x];
                    continue;
                }
                const int luma = row[0][x], cb = row[1][x] - 128, cr = row[2][x] - 128;
                constexpr int kHalf = 1 << 15;
                const int r = luma + ((91881 * cr + kHalf) >> 16);
                const int g = luma + ((-22554 * cb - 46802 * cr + kHalf) >> 16);
                const int b = luma + ((116130 * cb + kHalf) >> 16);
                out[0] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
                out[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
                out[2] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
            }
        }
        return p;
    }

    const std::uint8_t *d_;
    std::size_t n_;
    bool framed_ = false, scanned_ = false, progressive_ = false, jfif_ = false;
    int adobeTransform_ = -1;
    int width_ = 0, height_ = 0, count_ = 0, hMax_ = 1, vMax_ = 1;
    int mcusWide_ = 0, mcusHigh_ = 0;
    long long restartInterval_ = 0;
    std::array<Component, kMaxComponents> comp_{};
    std::array<Huffman, 4> dc_{}, ac_{};
    std::array<int, 4> quant_{};
    std::array<bool, 4> quantSet_{};
};

}  // namespace

std::optional<EighthPicture> DecodeJpegEighth(const std::uint8_t *data, std::size_t size) {
    return Decoder(data, size).run();
}

}  // namespace kit
