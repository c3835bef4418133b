#!/usr/bin/env python3
"""Writes the skin document texts that the generated archives carry.
  skin_texts.py small  W H  > file   -> "[Skin]\r\nEn=0\r\nW=<W>\r\nH=<H>\r\n\r\n"
  skin_texts.py default     > file   -> a whole skin document with every section of
                                        the default skin at its default values (about 1.4 KB)
  skin_texts.py bighex N SEED > file -> [Skin] En=1 with a Skin= value of 2*N upper-case
                                        hex digits of N pseudo-random bytes (seeded)
Every line ends with CR LF, as the skin document writer writes them."""
import random, sys

def emit(sections):
    out = []
    for name, keys in sections:
        out.append('[%s]' % name)
        out += ['%s=%s' % kv for kv in keys]
        out.append('')
    return ''.join(l + '\r\n' for l in out).encode('ascii')

def default_doc():
    s = [('Skin', [('En', '0'), ('W', '623'), ('H', '364')]),
         ('PC1', [('S', '209'), ('W', '153'), ('T', '144'), ('L', '24'), ('Border', '0'), ('Color', '$00DFDFDF')]),
         ('OP1', [('S', '209'), ('W', '88'), ('T', '49'), ('L', '24'), ('Flat', '0'), ('Color', 'clWhite'),
                  ('FColor', 'clBlack'), ('FName', 'Arial'), ('FSize', '10')]),
         ('PRys', [('S', '241'), ('W', '249'), ('T', '48'), ('L', '248'), ('Border', '4'), ('RColor', 'clGray'), ('Color', 'clSilver')])]
    for sec, t, l in (('PClose', 16, 464), ('PMini', 16, 430), ('PMenu', 16, 396), ('P1', 5, 8), ('P2', 35, 8),
                      ('P3', 65, 8), ('P4', 95, 8), ('PG', 40, 85), ('PD', 80, 85), ('PL', 80, 45), ('PP', 80, 125),
                      ('PEnd', 50, 64), ('PItem', 50, 64), ('PUwaga', 305, 25)):
        s.append((sec, [('T', str(t)), ('L', str(l))]))
    s.append(('PMove', [('S', '361'), ('W', '25'), ('T', '16'), ('L', '24')]))
    for sec, t, l in (('L1', 12, 42), ('L2', 42, 42), ('L3', 72, 42), ('L4', 102, 42), ('LM', 312, 64)):
        s.append((sec, [('T', str(t)), ('L', str(l)), ('FColor', 'clBlack'), ('FName', 'Arial'), ('FSize', '8')]))
    s.append(('LB', [('S', '97'), ('W', '249'), ('T', '48'), ('L', '504'), ('Flat', '0'), ('Color', 'clWhite'),
                     ('FColor', 'clBlack'), ('FName', 'Arial'), ('FSize', '10')]))
    return emit(s)

if __name__ == '__main__':
    mode = sys.argv[1]
    if mode == 'small':
        data = emit([('Skin', [('En', '0'), ('W', sys.argv[2]), ('H', sys.argv[3])])])
    elif mode == 'default':
        data = default_doc()
    elif mode == 'bighex':
        n, seed = int(sys.argv[2]), int(sys.argv[3])
        rnd = random.Random(seed)
        blob = bytes(rnd.getrandbits(8) for _ in range(n))
        data = emit([('Skin', [('En', '1'), ('Skin', blob.hex().upper())])])
    else:
        raise SystemExit('unknown mode')
    sys.stdout.buffer.write(data)
