"""Reading the game's BMP screenshots and comparing two of them, without libraries."""
import struct


def read_bmp(path):
    """(width, height, rows of RGB bytes top row first) of an uncompressed 24- or 32-bit BMP."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("%s is not a BMP" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits, compression = struct.unpack_from("<HI", data, 28)
    if bits not in (24, 32) or compression not in (0, 3):
        raise ValueError("%s: %d bits, compression %d" % (path, bits, compression))
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for r in range(abs(height)):
        start = offset + r * stride
        raw = data[start:start + width * step]
        # BGR(A) to RGB
        rgb = bytearray(width * 3)
        rgb[0::3] = raw[2::step]
        rgb[1::3] = raw[1::step]
        rgb[2::3] = raw[0::step]
        rows.append(bytes(rgb))
    if height > 0:  # stored bottom row first
        rows.reverse()
    return width, abs(height), rows


def compare(first, second, threshold=16):
    """The share of pixels with a channel off by more than threshold, and the mean
    absolute difference over all channels (0 ... 255), of two pictures of one size."""
    w1, h1, a = read_bmp(first)
    w2, h2, b = read_bmp(second)
    if (w1, h1) != (w2, h2):
        raise ValueError("sizes differ: %dx%d and %dx%d" % (w1, h1, w2, h2))
    off = 0
    total = 0
    for ra, rb in zip(a, b):
        diffs = [abs(x - y) for x, y in zip(ra, rb)]
        total += sum(diffs)
        for k in range(0, len(diffs), 3):
            if diffs[k] > threshold or diffs[k + 1] > threshold or diffs[k + 2] > threshold:
                off += 1
    return off / float(w1 * h1), total / float(w1 * h1 * 3)


def difference_picture(first, second, out_ppm, threshold=16):
    """Writes a PPM: black where the two agree within threshold, the first picture's
    pixel where they do not (for looking at a failure)."""
    w, h, a = read_bmp(first)
    _, _, b = read_bmp(second)
    with open(out_ppm, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (w, h))
        for ra, rb in zip(a, b):
            row = bytearray(len(ra))
            for k in range(0, len(ra), 3):
                if max(abs(ra[k] - rb[k]), abs(ra[k + 1] - rb[k + 1]), abs(ra[k + 2] - rb[k + 2])) > threshold:
                    row[k:k + 3] = b"\xff\x00\xff"
                else:
                    row[k:k + 3] = bytes(x // 3 for x in ra[k:k + 3])
            f.write(bytes(row))
