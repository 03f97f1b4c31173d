#!/usr/bin/env python3
"""Writes the starting corpus of each fuzz target into corpus/<reader>/: small cut-downs of the
generated game files (from a build's game folder) and hand-made edge cases.

Usage: fuzz/make_seeds.py [build/game]
Run once to seed; inputs found by fuzzing are merged into the same folders afterwards.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
GAME = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, '..', 'build', 'game')


def put(reader, name, data):
    folder = os.path.join(HERE, 'corpus', reader)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode('latin-1')
    with open(os.path.join(folder, 'seed-' + name), 'wb') as f:
        f.write(data)


def game_file(*parts):
    with open(os.path.join(GAME, *parts), 'rb') as f:
        return f.read()


# ---- stock file ----
stock = game_file('data', 'data.qd').decode('latin-1')
put('stock', 'generated', stock)
put('stock', 'generated-crlf', stock.replace('\n', '\r\n'))
lines = stock.split('\n')
put('stock', 'ten-fish', '\n'.join(lines[:10]) + '\n')
put('stock', 'extra-after-swims', stock + '1 2 3 junk\n')
first = lines[0].split()


def stock_with_first(fields):
    return ' '.join(fields) + '\n' + '\n'.join(lines[1:])


put('stock', 'long-name', stock_with_first(['N' * 300] + first[1:]))
put('stock', 'kind-33', stock_with_first(first[:4] + ['33'] + first[5:]))
put('stock', 'kind-real', stock_with_first(first[:4] + ['1.5'] + first[5:]))
put('stock', 'weight-nan', stock_with_first(first[:2] + ['nan'] + first[3:]))
put('stock', 'weight-huge', stock_with_first(first[:2] + ['1e30', '3e38'] + first[4:]))
put('stock', 'shape-negative', stock_with_first(first[:5] + ['-7']))
put('stock', 'empty', '')

# ---- lake model: first byte = how many blocks of a flat model come first (see fuzz_lake_model) ----
lake = game_file('models', 'lake.qd').decode('latin-1').split()
assert len(lake) == 145314, len(lake)
CELLS, BILLBOARDS, ITEMS = 10000 * 13, 1999 * 6, 100 * 7


def lake_seed(blocks, tokens, per_line):
    out = [chr(ord('0') + blocks)]
    for i in range(0, len(tokens), per_line):
        out.append(' '.join(tokens[i:i + per_line]) + '\n')
    return ''.join(out)


put('lake_model', 'cells', lake_seed(0, lake[:13 * 60], 13))
put('lake_model', 'billboards', lake_seed(1, lake[CELLS:CELLS + 6 * 120], 6))
put('lake_model', 'items', lake_seed(2, lake[CELLS + BILLBOARDS:CELLS + BILLBOARDS + ITEMS], 7))
spawns = lake[CELLS + BILLBOARDS + ITEMS:]
put('lake_model', 'spawn-lists', lake_seed(3, spawns, 5))
put('lake_model', 'edge-heights', '0' + '0 0 2 2 -0.1 -0.2 0.05 -1.5 198 200 198 200 48\n'
    '4 2 4 2 -0.19999 -0.20001 -0 +0.5 198 198 200 200 44\r\n')
put('lake_model', 'int-as-real', '0' + '0 0 2 2 0 0 0 0 198 200 198 200 48.5\n')
put('lake_model', 'not-finite', '0' + '0 0 2 2 nan inf 0 0 198 200 198 200 48\n')
put('lake_model', 'billboard-kind-15', '1' + '1 15 10 0 10 1\n')
put('lake_model', 'billboard-inactive-kind-0', '1' + '0 0 10 0 10 1\n' * 3)
put('lake_model', 'item-flag-2', '2' + '2 1 10 0 10 1 0\n')
put('lake_model', 'swarm-type-3', '3' + '1 3 10 0.5 20\n')
put('lake_model', 'swarm-unflagged', '3' + '0 2 10 0.5 20\n' * 100 + '1 1 1\n')

# ---- wave files ----


def riff(chunks):
    body = b'WAVE' + b''.join(chunks)
    return b'RIFF' + struct.pack('<I', len(body)) + body


def chunk(tag, data, pad=True):
    out = tag + struct.pack('<I', len(data)) + data
    if pad and len(data) % 2:
        out += b'\0'
    return out


def fmt(channels, rate, bits, tag=1):
    block = channels * bits // 8
    return chunk(b'fmt ', struct.pack('<HHIIHH', tag, channels, rate, rate * block, block, bits))


alarm = game_file('sounds', 'alarm.wav')
assert alarm[:4] == b'RIFF'
pos = alarm.index(b'data')
pcm = alarm[pos + 8:pos + 8 + 512]
put('wave', 'generated-cut', riff([alarm[12:pos], chunk(b'data', pcm)]))
put('wave', 'mono8', riff([fmt(1, 11025, 8), chunk(b'data', bytes(range(0, 256, 3)))]))
put('wave', 'stereo16', riff([fmt(2, 44100, 16), chunk(b'data', pcm[:256])]))
put('wave', 'odd-chunk-then-data', riff([fmt(1, 22050, 8), chunk(b'LIST', b'abc'), chunk(b'data', b'\x80\x90\xa0')]))
put('wave', 'data-before-fmt', riff([chunk(b'data', pcm[:64]), fmt(1, 22050, 16)]))
ext = struct.pack('<HHIIHHHHI', 0xFFFE, 1, 22050, 44100, 2, 16, 22, 16, 4) + struct.pack('<H', 1) + b'\0' * 14
put('wave', 'extensible', riff([chunk(b'fmt ', ext), chunk(b'data', pcm[:64])]))
put('wave', 'rate-100', riff([fmt(1, 100, 16), chunk(b'data', pcm[:8])]))
put('wave', 'rate-200000', riff([fmt(2, 200000, 8), chunk(b'data', pcm[:9])]))
put('wave', 'one-byte-of-16', riff([fmt(1, 22050, 16), chunk(b'data', b'\x01')]))
put('wave', 'data-too-long', riff([fmt(1, 22050, 16)]) + b'data' + struct.pack('<I', 1 << 20) + pcm[:16])

# ---- textures ----


def bmp(w, h, bpp, pixels, header=40, compression=0, masks=b'', palette=b'', top_down=False):
    stride = (w * bpp + 31) // 32 * 4
    info = struct.pack('<IiiHHIIiiII', header, w, -h if top_down else h, 1, bpp, compression,
                       stride * h, 2835, 2835, len(palette) // 4, 0)
    extra = masks + b'\0' * (header - 40 - len(masks)) if header > 40 else masks
    off = 14 + len(info) + len(extra) + len(palette)
    data = info + extra + palette + pixels
    return b'BM' + struct.pack('<IHHI', 14 + len(data), 0, 0, off) + data


def rows(w, h, bpp):
    stride = (w * bpp + 31) // 32 * 4
    return bytes((x * 37 + y * 11) & 0xFF for y in range(h) for x in range(stride))


# Cut-downs of generated pictures: the first 4 x 4 texels of a 24-bit and a keyed 32-bit bitmap.
for name, bpp in (('one.bmp', 24), ('gull.bmp', 32)):
    src = game_file('textures', name)
    off, = struct.unpack_from('<I', src, 10)
    head, w, h = struct.unpack_from('<Iii', src, 14)
    stride = (w * bpp + 31) // 32 * 4
    px = b''.join(src[off + y * stride: off + y * stride + 4 * bpp // 8] for y in range(4))
    masks = src[54:54 + head - 40] if head > 40 else b''
    put('texture', 'generated-' + name, bmp(4, 4, bpp, px, header=head, compression=3 if head > 40 else 0,
                                           masks=masks[:16]))
argb_masks = struct.pack('<IIII', 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
put('texture', 'bmp32-keyed', bmp(2, 2, 32, struct.pack('<4I', 0x01000000, 0xFF000000, 0x80FFFFFF, 0x01000001),
                                  header=108, compression=3, masks=argb_masks))
put('texture', 'bmp32-bitfields-40', bmp(3, 2, 32, rows(3, 2, 32), compression=3, masks=argb_masks[:12]))
put('texture', 'bmp24-top-down', bmp(3, 3, 24, rows(3, 3, 24), top_down=True))
put('texture', 'bmp16-565', bmp(5, 2, 16, rows(5, 2, 16), compression=3,
                                masks=struct.pack('<III', 0xF800, 0x07E0, 0x001F)))
put('texture', 'bmp8-palette', bmp(5, 3, 8, rows(5, 3, 8), palette=bytes(range(256)) * 4))
put('texture', 'bmp4-palette', bmp(7, 2, 4, rows(7, 2, 4), palette=bytes(64)))
put('texture', 'bmp1-palette', bmp(9, 2, 1, rows(9, 2, 1), palette=b'\0\0\0\0\xff\xff\xff\0'))
put('texture', 'bmp8-rle', bmp(4, 2, 8, b'\x04\x01\x00\x00\x02\x02\x02\x03\x00\x01', compression=1,
                               palette=bytes(16)))
core = struct.pack('<IHHHH', 12, 2, 2, 1, 24) + rows(2, 2, 24)
put('texture', 'bmp-core-header', b'BM' + struct.pack('<IHHI', 14 + len(core), 0, 0, 26) + core)
put('texture', 'bmp-short-rows', bmp(8, 8, 24, rows(8, 8, 24))[:120])


def tga(w, h, bpp, pixels, kind=2, descriptor=0x28, cmap=b'', cmap_bits=0, ident=b''):
    cmap_len = len(cmap) * 8 // cmap_bits if cmap_bits else 0
    header = struct.pack('<BBBHHBHHHHBB', len(ident), 1 if cmap else 0, kind, 0, cmap_len, cmap_bits,
                         0, 0, w, h, bpp, descriptor)
    return header + ident + cmap + pixels


sky = game_file('textures', 'sky2.tga')
w, = struct.unpack_from('<H', sky, 12)
put('texture', 'generated-sky2.tga', tga(4, 4, 32, b''.join(sky[18 + y * w * 4: 18 + y * w * 4 + 16]
                                                           for y in range(4))))
put('texture', 'tga32-bottom-left', tga(3, 2, 32, bytes(range(24)), descriptor=0x08))
put('texture', 'tga24', tga(2, 3, 24, bytes(range(18)), descriptor=0x20, ident=b'id'))
put('texture', 'tga16', tga(3, 1, 16, bytes(range(6)), descriptor=0x21))
put('texture', 'tga-grey', tga(4, 2, 8, bytes(range(8)), kind=3))
put('texture', 'tga-colour-mapped', tga(2, 2, 8, b'\0\1\1\0', kind=1, cmap=b'\0\0\xff\xff\0\0', cmap_bits=24))
put('texture', 'tga-rle32', tga(5, 2, 32, b'\x84\x01\x02\x03\xff' + b'\x04' + bytes(20), kind=10))
put('texture', 'tga-rle-grey', tga(4, 4, 8, b'\x8f\x7f', kind=11))
put('texture', 'tga-rle-mapped', tga(3, 1, 8, b'\x82\x01', kind=9, cmap=b'\0\0\xff\xff\0\0', cmap_bits=24))
put('texture', 'tga-short', tga(64, 64, 32, bytes(100)))

# Headers that promise far more than the file holds, or than the loader takes: each must be refused
# before the promised picture is allocated or walked.
put('texture', 'bmp-coding-0x80000000', struct.pack('<2sIHHIIiiHHIIiiII', b'BM', 54, 0, 0, 54, 40, 16384, 16384,
                                                    1, 32, 0x80000000, 0, 0, 0, 0, 0))
put('texture', 'bmp-huge-sides-few-bytes', bmp(4096, 4096, 24, bytes(64)))
put('texture', 'bmp1-4096-square-few-bytes', bmp(4096, 4096, 1, bytes(256), palette=b'\0\0\0\0\xff\xff\xff\0'))
put('texture', 'bmp1-wider-than-4096', bmp(4097, 2, 1, bytes(2 * 516), palette=b'\0\0\0\0\xff\xff\xff\0'))
put('texture', 'tga-rle-4095-square-cut', tga(4095, 4095, 8, b'\xff\x40' * 16, kind=11))
# Whole run-length pictures one side 4095 long: decoded, then scaled to 4096 row by row.
put('texture', 'tga-rle-4095-wide', tga(4095, 2, 8, b'\xff\x40' * 63 + b'\xfd\x80', kind=11))
put('texture', 'tga-rle-4095-tall', tga(2, 4095, 8, b'\xff\x40' * 63 + b'\xfd\x80', kind=11))

# ---- save file (the game writes it at exit; none is generated) ----


def save_text(photos, weights, int_form='%d', float_form='%e', newline='\n'):
    values = []
    for p in photos:
        flags, swim, kind, reals = p
        values += [int_form % v for v in flags]
        values += [float_form % v for v in reals[:2]]
        values += [int_form % swim, int_form % kind]
        values += [float_form % v for v in reals[2:]]
    values += [float_form % w for w in weights]
    return newline.join(values) + newline


photo = ((1, 0, 1, 1), 3, 7, (13.5, 21.95, 4.2, 0.1, 0.2, 0.3, 101.5, 1.8, 92.25, 3.1, 6.4))
empty = ((0, 0, 0, 0), 0, 0, (0,) * 11)
weights = [0.0] * 75
weights[6] = 21.95
weights[40] = 12.9
whole = save_text([photo, photo] + [empty] * 48, weights)
put('save', 'whole', whole)
put('save', 'windows-written', save_text([photo] + [empty] * 49, weights, float_form='%.6e', newline='\r\n')
    .replace('e+0', 'e+00').replace('e-0', 'e-00'))
put('save', 'twenty-records', save_text([photo] * 20, []))
put('save', 'cut-in-record', save_text([photo] * 3, [])[:-30])
put('save', 'not-packed', save_text([empty, photo, empty, photo] + [empty] * 46, weights))
put('save', 'flag-257', whole.replace('1\n0\n1\n1\n', '257\n0\n1\n1\n', 1))
put('save', 'nan', whole.replace('2.195000e+01', 'nan', 1))
put('save', 'real-in-int-slot', whole.replace('\n3\n7\n', '\n3.5\n7\n', 1))
put('save', 'huge-weights', save_text([empty] * 50, [1e30, -3e38, 1e40] + [0.0] * 72))
put('save', 'empty', '')
