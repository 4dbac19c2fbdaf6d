#!/usr/bin/env python3
"""Draws the Pliegomatic icon with ImageMagick: a sheet of continuous paper
with tractor-feed holes and green-bar lines coming out of a dot-matrix
printer. Writes PNGs for Linux and a Windows .ico (16, 24, 32 and 48 pixels
in 32-bit colour, plus 256- and 16-colour images)."""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


def draw_master(path):
    draw = [
        # paper with its green bars
        "fill white stroke #555555 stroke-width 4 rectangle 56,12 200,170",
        "fill #cfe8cf stroke none rectangle 80,30 176,50",
        "fill #cfe8cf stroke none rectangle 80,74 176,94",
        "fill #cfe8cf stroke none rectangle 80,118 176,138",
        # tractor-feed holes on both margins
    ]
    for y in range(26, 170, 22):
        draw.append(f"fill #777777 stroke none circle 67,{y} 67,{y + 5}")
        draw.append(f"fill #777777 stroke none circle 189,{y} 189,{y + 5}")
    draw += [
        # printer body, paper slot and a green power light
        "fill #2f4f7f stroke #1a2c47 stroke-width 4 roundrectangle 16,140 240,236 18,18",
        "fill #1a2c47 stroke none rectangle 48,150 208,162",
        "fill #e8eef7 stroke none rectangle 44,190 160,206",
        "fill #44cc44 stroke #1a2c47 stroke-width 2 circle 208,198 208,208",
    ]
    args = ["convert", "-size", "256x256", "xc:none"]
    for d in draw:
        args += ["-draw", d]
    subprocess.run(args + [path], check=True)


def main():
    master = os.path.join(HERE, "pliegomatic-256.png")
    draw_master(master)
    sizes = [16, 24, 32, 48, 64, 128]
    for size in sizes:
        subprocess.run(["convert", master, "-resize", f"{size}x{size}",
                        os.path.join(HERE, f"pliegomatic-{size}.png")], check=True)
    ico_images = [os.path.join(HERE, f"pliegomatic-{s}.png") for s in (16, 24, 32, 48)]
    # 256-colour images of every size, 16-colour ones of all but 24 pixels.
    palette = []
    for s in (16, 24, 32, 48):
        palette += ["(", os.path.join(HERE, f"pliegomatic-{s}.png"), "-colors", "256", ")"]
    for s in (16, 32, 48):
        palette += ["(", os.path.join(HERE, f"pliegomatic-{s}.png"), "-colors", "16", ")"]
    subprocess.run(["convert"] + ico_images + palette + [os.path.join(HERE, "pliegomatic.ico")], check=True)


if __name__ == "__main__":
    main()
