# The image viewer on pictures too big to hold and on awkward names: a PNG claiming 30000 x 30000
# pixels and a whole 12000 x 12000 JPEG each end shown or black, the program still running and
# the next picture showing; names with spaces and with a Latin-1 letter load.
# screen: 800x700
name="image viewer bad input"
PICS="$SMOKE_TMP/pics"
mkdir -p "$PICS"
convert -size 400x300 gradient:red-blue -fill yellow -draw 'rectangle 0,0 99,49' "BMP3:$PICS/a with spaces.bmp"
convert -size 300x200 xc:'#2060c0' -fill '#00aa00' -draw 'circle 150,100 150,20' "PNG24:$PICS/d-café.png"
python3 - "$PICS" <<'PY'
import struct, sys, zlib
folder = sys.argv[1]

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

# A small file whose header claims 30000 x 30000 grey pixels: its first rows only.
side = 30000
rows = zlib.compress(b"\0" * ((side + 1) * 16))
with open(folder + "/b-huge.png", "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", rows) + chunk(b"IEND", b""))

# A whole baseline JPEG of 12000 x 12000 mid-grey pixels: every 8 x 8 block is a DC difference
# of 0 and an end of block, each coded as the single one-bit code "0" of its table.
def segment(marker, data):
    return b"\xff" + bytes([marker]) + struct.pack(">H", len(data) + 2) + data

side = 12000
one_code = bytes([1] + [0] * 15) + b"\0"  # one code of length 1, for the value 0
head = (b"\xff\xd8"
        + segment(0xDB, b"\0" + bytes([1] * 64))
        + segment(0xC0, struct.pack(">BHHB", 8, side, side, 1) + b"\x01\x11\x00")
        + segment(0xC4, b"\x00" + one_code) + segment(0xC4, b"\x10" + one_code)
        + segment(0xDA, b"\x01\x01\x00\x00\x3f\x00"))
blocks = (side // 8) ** 2
with open(folder + "/c-huge.jpg", "wb") as f:
    f.write(head + b"\0" * (blocks * 2 // 8) + b"\xff\xd9")
PY

# The folder's pictures in turn: the spaces first (its thumbnail opens the viewer).
if ! viewer_open "$PICS"; then
    not_ok "$name" "$VIEWER_WHY"
    return
fi
alive() { [ "$(tivlo_count)" -gt 0 ] && viewer_up; }
shot spaces
showing "a with spaces.bmp" || note "caption \"$(caption)\""
spaces=$(picture_box "$SMOKE_TMP/spaces-area.png")
[ "${spaces%%+*}" = 400x300 ] || note "the BMP with spaces in its name at $spaces"

huge_png=; huge_jpg=
for f in b-huge.png c-huge.jpg; do
    press Next
    # A loaded machine may take its time deciding: the caption changes once it has.
    if ! wait_for 20 showing "$f"; then
        note "$f: showing \"$(caption)\""
        continue
    fi
    shot "${f%.*}"
    box=$(picture_box "$SMOKE_TMP/${f%.*}-area.png")
    # Black, or the whole picture fitted: grey, square and centred.
    case "$box" in
    0x0) ;;
    582x582+43+0 | "${VA}x$VA+$(((668 - VA) / 2))+0") ;;
    *) note "$f shows $box" ;;
    esac
    [ "$f" = b-huge.png ] && huge_png=$box || huge_jpg=$box
    alive || { note "after $f the program or the viewer is gone"; break; }
done

if alive; then
    step Next "d-café.png" "Page Down to the Latin-1 name"
    shot latin1
    latin1=$(picture_box "$SMOKE_TMP/latin1-area.png")
    [ "${latin1%%+*}" = 300x200 ] || note "the PNG with a Latin-1 name at $latin1"
    step Next "a with spaces.bmp" "Page Down from the last"
    alive || note "the program or the viewer is gone at the end"
fi

if [ -n "$fail" ]; then
    not_ok "$name" "$fail"
else
    ok "$name" "spaces $spaces, 30000 x 30000 PNG ${huge_png/0x0/black}, 12000 x 12000 JPEG ${huge_jpg/0x0/black}, Latin-1 $latin1"
fi
