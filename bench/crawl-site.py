#!/usr/bin/env python3
"""Writes the crawl benchmark's site into FOLDER: 500 pages linked in a tree and across, and
2,500 pictures of 5-60 KB, 500 of each type (GIF, JPEG as .jpg and .jpeg, BMP, PNG), each made
distinct by random bytes after a real picture's data. Usage: crawl-site.py FOLDER BASE_FOLDER
(BASE_FOLDER holds base.gif, base.jpg, base.bmp and base.png, made with ImageMagick)."""
import os
import random
import sys

folder, base = sys.argv[1], sys.argv[2]
random.seed(11)
bases = {ext: open(os.path.join(base, "base." + ext), "rb").read() for ext in ("gif", "jpg", "bmp", "png")}
kinds = ["gif", "jpg", "jpeg", "bmp", "png"]
PAGES, PER_PAGE = 500, 5
os.makedirs(os.path.join(folder, "p"), exist_ok=True)
os.makedirs(os.path.join(folder, "i"), exist_ok=True)
n = 0
for page in range(PAGES):
    links = []
    for child in (2 * page + 1, 2 * page + 2, random.randrange(1, PAGES)):
        if child < PAGES:
            links.append('<a href="/p/%d.html">page %d</a>' % (child, child))
    for _ in range(PER_PAGE):
        ext = kinds[n % 5]
        data = bases["jpg" if ext == "jpeg" else ext]
        size = random.randint(5 * 1024, 60 * 1024)
        with open(os.path.join(folder, "i", "%d.%s" % (n, ext)), "wb") as f:
            f.write(data + os.urandom(max(0, size - len(data))))
        links.append('<a href="../i/%d.%s"><img src="../i/%d.%s"></a>' % (n, ext, n, ext) if n % 2
                     else '<img src="/i/%d.%s">' % (n, ext))
        n += 1
    name = "index.html" if page == 0 else os.path.join("p", "%d.html" % page)
    with open(os.path.join(folder, name), "w") as f:
        f.write("<html><body><h1>Page %d</h1>\n%s\n</body></html>\n" % (page, "\n".join(links)))
