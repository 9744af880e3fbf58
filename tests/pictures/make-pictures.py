#!/usr/bin/env python3
"""Writes the small picture files of the loader tests into this folder.

Every file is built byte by byte here, except the JPEGs: jpeg-*.jpg come from ImageMagick's
convert, and jpeg-cmyk-plain.jpg was written once with libjpeg (CMYK, no Adobe marker).
expected.txt holds what the platform's loaders show for each file; the native tests and the
Wine check read it.
"""
import struct
import subprocess
import zlib

RED, GREEN, BLUE, WHITE, BLACK = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255), (0, 0, 0)
GREY, YELLOW, PURPLE = (128, 128, 128), (255, 255, 0), (128, 0, 128)


def bmp(width, height, bpp, rows, palette=(), header=40, compression=0, masks=None,
        top_down=False, pixel_data=None, core_palette=False):
    """rows: top row first, each a list of palette indices or (r, g, b) / raw ints."""
    if pixel_data is None:
        stride = (width * bpp + 31) // 32 * 4
        stored = list(reversed(rows)) if not top_down else rows
        data = bytearray()
        for row in stored:
            bits = bytearray(stride)
            for x, v in enumerate(row):
                if bpp in (1, 4, 8):
                    per = 8 // bpp
                    shift = (per - 1 - x % per) * bpp
                    bits[x // per] |= v << shift
                elif bpp == 24:
                    bits[3 * x:3 * x + 3] = bytes((v[2], v[1], v[0]))
                elif bpp == 16:
                    bits[2 * x:2 * x + 2] = struct.pack('<H', v)
                elif bpp == 32:
                    bits[4 * x:4 * x + 4] = struct.pack('<I', v)
            data += bits
        pixel_data = bytes(data)
    if header == 12:
        info = struct.pack('<IHHHH', 12, width, height, 1, bpp)
    else:
        info = struct.pack('<IiiHHIIiiII', header, width, -height if top_down else height, 1,
                           bpp, compression, len(pixel_data), 2835, 2835, len(palette), 0)
        if header >= 52:
            m = list(masks or (0, 0, 0, 0))
            info += struct.pack('<III', *m[:3])
            if header >= 56:
                info += struct.pack('<I', m[3])
            info += bytes(header - len(info))
    extra = b''
    if header == 40 and masks is not None:
        extra = struct.pack('<III', *masks[:3])
    pal = b''.join(bytes((b, g, r)) if core_palette else bytes((b, g, r, 0))
                   for (r, g, b) in palette)
    offset = 14 + len(info) + len(extra) + len(pal)
    size = offset + len(pixel_data)
    return b'BM' + struct.pack('<IHHI', size, 0, 0, offset) + info + extra + pal + pixel_data


def rgb565(c):
    return ((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3)


def gif(screen_w, screen_h, palette, background, frames):
    """frames: (x, y, w, h, indices top row first, transparent index or None, interlaced)."""
    size_bits = max(1, (len(palette) - 1).bit_length()) - 1
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', screen_w, screen_h, 0x80 | 0x70 | size_bits, background, 0)
    for i in range(2 << size_bits):
        out += bytes(palette[i] if i < len(palette) else BLACK)
    for (x, y, w, h, indices, transparent, interlaced) in frames:
        if transparent is not None:
            out += b'\x21\xF9\x04\x01\x00\x00' + bytes((transparent,)) + b'\x00'
        out += b'\x2C' + struct.pack('<HHHHB', x, y, w, h, 0x40 if interlaced else 0)
        rows = [indices[r * w:(r + 1) * w] for r in range(h)]
        if interlaced:
            order = [r for start, step in ((0, 8), (4, 8), (2, 4), (1, 2))
                     for r in range(start, h, step)]
            rows = [rows[r] for r in order]
        data = lzw([i for row in rows for i in row])
        out += b'\x08'
        for k in range(0, len(data), 255):
            chunk = data[k:k + 255]
            out += bytes((len(chunk),)) + chunk
        out += b'\x00'
    return bytes(out + b'\x3B')


def lzw(indices, min_code=8):
    """Uncompressed LZW: a clear code often enough that the code width never grows."""
    clear, end, width = 1 << min_code, (1 << min_code) + 1, min_code + 1
    codes, run = [clear], 0
    for i in indices:
        if run == (1 << min_code) - 3:
            codes.append(clear)
            run = 0
        codes.append(i)
        run += 1
    codes.append(end)
    bits = nbits = 0
    data = bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += width
        while nbits >= 8:
            data.append(bits & 255)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 255)
    return bytes(data)


def png(width, height, colour_type, rows, palette=None, trns=None, interlaced=False):
    """rows: top row first, each a bytes object of packed 8-bit samples."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack(
            '>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    channels = {2: 3, 3: 1, 6: 4}[colour_type]
    if interlaced:
        raw = bytearray()
        for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
                               (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)):
            for y in range(y0, height, dy):
                line = b''.join(rows[y][x * channels:(x + 1) * channels]
                                for x in range(x0, width, dx))
                if line:
                    raw += b'\x00' + line
    else:
        raw = b''.join(b'\x00' + r for r in rows)
    out = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack(
        '>IIBBBBB', width, height, 8, colour_type, 0, 0, 1 if interlaced else 0))
    if palette:
        out += chunk(b'PLTE', b''.join(bytes(c) for c in palette))
    if trns is not None:
        out += chunk(b'tRNS', bytes(trns))
    return out + chunk(b'IDAT', zlib.compress(bytes(raw))) + chunk(b'IEND', b'')


def write(name, data):
    with open(name, 'wb') as f:
        f.write(data)


QUAD = [[RED, GREEN, BLUE, WHITE], [BLACK, GREY, YELLOW, PURPLE], [BLUE, RED, GREEN, BLACK]]
write('bmp24.bmp', bmp(4, 3, 24, QUAD))
write('bmp24-topdown.bmp', bmp(4, 3, 24, QUAD, top_down=True))
PAL = [RED, GREEN, BLUE, WHITE, BLACK, GREY]
write('bmp8.bmp', bmp(5, 3, 8, [[0, 1, 2, 3, 4], [5, 0, 1, 9, 3], [2, 2, 2, 2, 0]],
                      palette=PAL))
write('bmp32.bmp', bmp(3, 2, 32, [[0x80FF0000, 0x0000FF00, 0xFF0000FF],
                                 [0x00FFFFFF, 0x12345678, 0x00000000]]))
write('bmp16-bitfields.bmp', bmp(3, 2, 16, [[rgb565(RED), rgb565(GREEN), rgb565(BLUE)],
                                           [rgb565(WHITE), 0x8410, 0]],
                                 compression=3, masks=(0xF800, 0x07E0, 0x001F)))
write('bmp-core.bmp', bmp(3, 2, 4, [[0, 1, 2], [2, 1, 15]], palette=[RED, GREEN, BLUE] + [GREY] * 13,
                          header=12, core_palette=True))
write('bmp-v5.bmp', bmp(2, 2, 32, [[0xFF0000FF, 0x00FF00FF], [0x0000FFFF, 0xFFFFFF00]],
                        header=124, compression=3,
                        masks=(0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF)))
# RLE8, 6 x 4, bottom row first: a run, an absolute run, a delta over unset pixels, a run
# past the end of its row, end of bitmap.
RLE8 = bytes([3, 0, 0, 3, 1, 2, 1, 0,      # row 0: 0 0 0, then absolute 1 2 1 (padded)
              0, 0,                        # end of line
              0, 2, 2, 1,                  # delta: 2 right, 1 up -> row 2, x 2
              2, 1, 0, 0,                  # two 1s, end of line
              6, 2, 3, 5,                  # row 3: six 2s, then three 5s past the row's end
              0, 1])                       # end of bitmap
write('bmp-rle8.bmp', bmp(6, 4, 8, None, palette=PAL, compression=1, pixel_data=RLE8))
RLE4 = bytes([5, 0x01, 0, 0,               # row 0: 0 1 0 1 0
              0, 3, 0x23, 0x40, 0, 0,      # row 1: absolute 2 3 4, padded; end of line
              0, 1])
write('bmp-rle4.bmp', bmp(5, 2, 4, None, palette=PAL, compression=2, pixel_data=RLE4))

GIFPAL = [RED, BLUE, GREEN, YELLOW]
frame = [0 if c < 3 else 1 for r in range(3) for c in range(6)]
frame[7] = 3
write('gif-transparent.gif', gif(6, 3, GIFPAL, 2, [(0, 0, 6, 3, frame, 3, False)]))
small = [0 if c < 4 else 1 for r in range(4) for c in range(8)]
small[0] = 3
write('gif-offset-frame.gif', gif(20, 10, GIFPAL, 2, [(5, 3, 8, 4, small, 3, False),
                                                      (0, 0, 2, 2, [1] * 4, None, False)]))
stripes = [r % 4 for r in range(10) for c in range(3)]
write('gif-interlaced.gif', gif(3, 10, GIFPAL, 0, [(0, 0, 3, 10, stripes, None, True)]))

write('png-rgba.png', png(4, 2, 6, [bytes([255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 128,
                                           0, 255, 0, 64]),
                                    bytes([10, 20, 30, 255, 200, 100, 50, 0,
                                           255, 255, 255, 255, 0, 0, 0, 255])]))
write('png-palette-trns.png', png(3, 2, 3, [bytes([0, 1, 2]), bytes([2, 1, 0])],
                                  palette=[RED, GREEN, BLUE], trns=[255, 0, 128]))
grid = [bytes(v for x in range(9) for v in ((x * 28) % 256, (y * 30) % 256, (x * y * 3) % 256))
        for y in range(9)]
write('png-interlaced.png', png(9, 9, 2, grid, interlaced=True))

for name, args in (('jpeg-baseline.jpg', []), ('jpeg-progressive.jpg', ['-interlace', 'JPEG'])):
    subprocess.run(['convert', '-size', '6x4', 'gradient:red-blue', *args, '-quality', '95',
                    name], check=True)
subprocess.run(['convert', '-size', '40x24', 'gradient:yellow-navy', '-sampling-factor', '2x2',
                '-quality', '90', 'jpeg-subsampled.jpg'], check=True)
subprocess.run(['convert', '-size', '8x8', 'xc:cmyk(50%,20%,10%,30%)', '-size', '8x8',
                'xc:cmyk(0%,100%,0%,0%)', '-size', '8x8', 'xc:cmyk(10%,40%,70%,90%)', '-size',
                '8x8', 'xc:cmyk(0%,0%,0%,0%)', '+append', '-quality', '100',
                '-sampling-factor', '1x1', 'jpeg-cmyk-adobe.jpg'], check=True)

# Damaged and misnamed files.
def cut(src, dst, fraction):
    with open(src, 'rb') as f:
        data = f.read()
    write(dst, data[:int(len(data) * fraction)])

cut('png-rgba.png', 'png-truncated.png', 0.8)
cut('jpeg-progressive.jpg', 'jpeg-truncated.jpg', 0.7)
cut('gif-interlaced.gif', 'gif-truncated.gif', 0.8)
cut('bmp24.bmp', 'bmp-truncated.bmp', 0.8)
cut('png-rgba.png', 'png-named.jpg', 1.0)
cut('jpeg-baseline.jpg', 'jpeg-named.png', 1.0)
write('text-named.jpg', b'<html>not a picture</html>\n')
write('empty.jpg', b'')
