#!/usr/bin/env python3
"""Writes the crawl benchmark's site into FOLDER: PAGES pages (500 unless given) linked in a
tree and across, and five pictures of 5-60 KB per page, as many of each type (GIF, JPEG as .jpg
and .jpeg, BMP, PNG), each made distinct by random bytes after a real picture's data (made with
ImageMagick). Usage: crawl-site.py FOLDER [PAGES]"""
import os
import random
import subprocess
import sys
import tempfile

folder = sys.argv[1]
PAGES, PER_PAGE = int(sys.argv[2]) if len(sys.argv) > 2 else 500, 5
random.seed(11)
bases = {}
with tempfile.TemporaryDirectory() as base:
    for ext, args in (("png", ["-size", "160x120", "plasma:fractal"]),
                      ("gif", ["-size", "160x120", "gradient:red-blue"]),
                      ("jpg", ["-size", "160x120", "plasma:fractal", "-quality", "80"]),
                      ("bmp", ["-size", "80x60", "xc:green"])):
        path = os.path.join(base, "base." + ext)
        subprocess.run(["convert"] + args + [("BMP3:" if ext == "bmp" else "") + path], check=True)
        bases[ext] = open(path, "rb").read()
kinds = ["gif", "jpg", "jpeg", "bmp", "png"]
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
