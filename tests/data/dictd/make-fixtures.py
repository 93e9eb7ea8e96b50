#!/usr/bin/env python3
# Builds the small dictd dictionaries the tests read, from the real articles
# in articles/ (excerpts of Mueller's English-Russian dictionary and of the
# FreeDict dictionaries, both GPL): one in dictzip form with chunks small
# enough that articles cross chunk borders, one in plain gzip, one plain
# with damaged index lines, plain ones for Italian-Russian and
# Spanish-English. Run it from this folder after changing articles/.
import glob, gzip, os, struct, zlib

B64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"

def b64(n):
    digits = ""
    while True:
        digits = B64[n % 64] + digits
        n //= 64
        if n == 0:
            return digits

def collect(prefix):
    entries = []
    for path in sorted(glob.glob("articles/%s-*.txt" % prefix)):
        word = os.path.basename(path)[len(prefix) + 1:-4].rsplit("-", 1)[0] \
            if path[-6] == "-" else os.path.basename(path)[len(prefix) + 1:-4]
        entries.append((word, open(path, "rb").read()))
    return entries

def layout(entries):
    text, index = b"", []
    for word, article in entries:
        index.append((word, len(text), len(article)))
        text += article
    return text, index

def write_index(name, index, extra=()):
    with open(name + ".index", "w", encoding="utf-8") as out:
        out.write("00-database-utf8\tA\tB\n")
        for word, offset, length in index:
            out.write("%s\t%s\t%s\n" % (word, b64(offset), b64(length)))
        for line in extra:
            out.write(line + "\n")

def write_dictzip(name, text, chunk=512):
    chunks = []
    for start in range(0, len(text), chunk):
        compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
        chunks.append(compressor.compress(text[start:start + chunk]) + compressor.flush(zlib.Z_FULL_FLUSH))
    ra = struct.pack("<HHH", 1, chunk, len(chunks)) + b"".join(struct.pack("<H", len(c)) for c in chunks)
    extra = b"RA" + struct.pack("<H", len(ra)) + ra
    header = b"\x1f\x8b\x08" + bytes([4 | 8]) + b"\0\0\0\0\x02\x03" + struct.pack("<H", len(extra)) + extra
    header += name.encode() + b".dict\0"
    trailer = struct.pack("<II", zlib.crc32(text) & 0xffffffff, len(text) & 0xffffffff)
    # A final empty block closes the deflate stream, as dictzip writes it.
    with open(name + ".dict.dz", "wb") as out:
        out.write(header + b"".join(chunks) + b"\x03\x00" + trailer)

text, index = layout(collect("mueller"))
write_index("sample-eng-rus", index)
write_dictzip("sample-eng-rus", text)

text, index = layout(collect("fra"))
write_index("sample-fra-rus", index)
with open("sample-fra-rus.dict.gz", "wb") as out:
    out.write(gzip.compress(text, mtime=0))

text, index = layout(collect("deu"))
write_index("sample-deu-rus", index, [
    "kaputt\tA!\tB",                          # not a number
    "leer",                                   # no fields at all
    "weit\t%s\tZ" % b64(len(text) + 10),      # past the end of the file
    "lang\t%s\t%s" % (b64(len(text) - 5), b64(100)),  # runs over the end
])
with open("sample-deu-rus.dict", "wb") as out:
    out.write(text)

text, index = layout(collect("ita"))
write_index("sample-ita-rus", index)
with open("sample-ita-rus.dict", "wb") as out:
    out.write(text)

# Spanish-English, for the way from Spanish through English into Russian.
text, index = layout(collect("spa"))
write_index("sample-spa-eng", index)
with open("sample-spa-eng.dict", "wb") as out:
    out.write(text)
