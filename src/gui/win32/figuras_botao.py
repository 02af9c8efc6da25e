#!/usr/bin/env python3
"""The buttons' pictures ready for the screen, made at build time so that the program needs no
image codec at its start: each picture of the table below, at each side in pixels given, as a
32-bit BMP whose pixels are what imagens_win32.cpp would make of the PNG at run time (the
magenta key made transparent, the alpha premultiplied, scaled by area), and the resource script
that compiles them into tolvaneGestor.exe under the names <NAME>_<side> (figuras_win32.h).

    figuras_botao.py <folder of the PNGs> <output folder> <side>...

Python 3 and its standard library only. Reads 8-bit, non-interlaced PNGs."""

import os
import struct
import sys
import zlib

# name -> (file, column of a strip of 16 x 16 pictures or None for the whole file, magenta key)
FIGURAS = {
    "SETA_BAIXO": ("seta_baixo.png", None, False),
    "SETA_BAIXO_DESABILITADA": ("seta_baixo_desabilitada.png", None, False),
    "OK": ("ok.png", 0, True),
    "OK_DESABILITADA": ("ok.png", 1, True),
}
CANAIS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # samples per pixel, by the PNG's colour type


def falhar(texto):
    sys.exit(f"figuras_botao.py: {texto}")


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def ler_png(caminho):
    """Width, height and the straight-alpha RGBA pixels, row by row from the top."""
    try:
        with open(caminho, "rb") as f:
            dados = f.read()
    except OSError as e:
        falhar(f"cannot read {caminho}: {e.strerror}")
    if dados[:8] != b"\x89PNG\r\n\x1a\n":
        falhar(f"{caminho} is not a PNG file")
    pos, idat, paleta, trns, cabecalho = 8, b"", None, b"", None
    while pos < len(dados):
        tamanho, tipo = struct.unpack(">I4s", dados[pos:pos + 8])
        corpo = dados[pos + 8:pos + 8 + tamanho]
        pos += 12 + tamanho
        if tipo == b"IHDR":
            cabecalho = struct.unpack(">IIBBBBB", corpo)
        elif tipo == b"PLTE":
            paleta = corpo
        elif tipo == b"tRNS":
            trns = corpo
        elif tipo == b"IDAT":
            idat += corpo
    if cabecalho is None:
        falhar(f"{caminho} has no IHDR chunk")
    largura, altura, bits, cor, _, _, entrelacado = cabecalho
    if bits != 8 or cor not in CANAIS or entrelacado or (cor == 3 and paleta is None):
        falhar(f"{caminho}: only 8-bit, non-interlaced PNGs are read")
    passo = CANAIS[cor]
    linha = largura * passo
    cru = zlib.decompress(idat)
    anterior = bytearray(linha)
    pixels = []
    for y in range(altura):
        inicio = y * (linha + 1)
        filtro, atual = cru[inicio], bytearray(cru[inicio + 1:inicio + 1 + linha])
        for i in range(linha):
            a = atual[i - passo] if i >= passo else 0
            b = anterior[i]
            c = anterior[i - passo] if i >= passo else 0
            atual[i] = (atual[i] + (0, a, b, (a + b) >> 1, paeth(a, b, c))[filtro]) & 255
        for x in range(largura):
            p = atual[x * passo:(x + 1) * passo]
            if cor == 0:
                pixels.append((p[0], p[0], p[0], 255))
            elif cor == 2:
                pixels.append((p[0], p[1], p[2], 255))
            elif cor == 3:
                i = p[0]
                alfa = trns[i] if i < len(trns) else 255
                pixels.append((paleta[3 * i], paleta[3 * i + 1], paleta[3 * i + 2], alfa))
            elif cor == 4:
                pixels.append((p[0], p[0], p[0], p[1]))
            else:
                pixels.append(tuple(p))
        anterior = atual
    return largura, altura, pixels


def premultiplicar(pixels, chave):
    """As imagens_win32.cpp: the magenta key first (a colour, not a premultiplied value)."""
    r = []
    for cr, cg, cb, a in pixels:
        if chave and (cr, cg, cb) == (255, 0, 255):
            a = 0
        r.append((cr * a // 255, cg * a // 255, cb * a // 255, a))
    return r


def escalar(pixels, lado_origem, lado):
    """A square picture to lado x lado, each pixel the area-weighted mean of the ones it covers."""
    if lado == lado_origem:
        return pixels
    escala = lado_origem / lado
    pesos = []
    for d in range(lado):
        a, b = d * escala, (d + 1) * escala
        pesos.append([(s, min(b, s + 1) - max(a, s)) for s in range(int(a), min(lado_origem,
                                                                                   int(b) + 1))
                      if min(b, s + 1) > max(a, s)])
    r = []
    for y in range(lado):
        for x in range(lado):
            soma = [0.0] * 4
            for sy, py in pesos[y]:
                for sx, px in pesos[x]:
                    p = pixels[sy * lado_origem + sx]
                    for c in range(4):
                        soma[c] += p[c] * px * py
            r.append(tuple(min(255, int(s / (escala * escala) + 0.5)) for s in soma))
    return r


def escrever_bmp(caminho, lado, pixels):
    """A 32-bit BI_RGB bitmap, rows from the bottom, BGRA."""
    corpo = bytearray()
    for y in reversed(range(lado)):
        for cr, cg, cb, a in pixels[y * lado:(y + 1) * lado]:
            corpo += bytes((cb, cg, cr, a))
    cabecalho = struct.pack("<IiiHHIIiiII", 40, lado, lado, 1, 32, 0, len(corpo), 0, 0, 0, 0)
    arquivo = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(corpo), 0, 0, 14 + 40)
    with open(caminho, "wb") as f:
        f.write(arquivo + cabecalho + corpo)


def main():
    if len(sys.argv) < 4:
        falhar("usage: figuras_botao.py <folder of the PNGs> <output folder> <side>...")
    origem, destino = sys.argv[1], sys.argv[2]
    lados = [int(n) for n in sys.argv[3:]]
    os.makedirs(destino, exist_ok=True)
    linhas = ["// Made by figuras_botao.py at build time: the buttons' pictures at each side.\n"]
    for nome, (arquivo, coluna, chave) in FIGURAS.items():
        largura, altura, pixels = ler_png(os.path.join(origem, arquivo))
        if coluna is not None:
            if altura != 16 or largura < 16 * (coluna + 1):
                falhar(f"{arquivo} is not a strip of 16 x 16 pictures with a column {coluna}")
            pixels = [pixels[y * largura + 16 * coluna + x] for y in range(16) for x in range(16)]
            largura = 16
        if largura != altura:
            falhar(f"{arquivo} is not square")
        pixels = premultiplicar(pixels, chave)
        for lado in lados:
            bmp = os.path.join(destino, f"{nome.lower()}_{lado}.bmp")
            escrever_bmp(bmp, lado, escalar(pixels, largura, lado))
            linhas.append(f'{nome}_{lado} BITMAP "{bmp}"\n')
    with open(os.path.join(destino, "figuras_botao.rc"), "w", encoding="ascii") as f:
        f.writelines(linhas)


if __name__ == "__main__":
    main()
