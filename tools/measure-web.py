#!/usr/bin/python3
"""`make bench`: milliseconds per tick of the browser page (build/web) in
headless Chromium, drawing as fast as the page's frames come (delay=0), on
the sizes and worlds measure-x11.sh runs the hack on, to set beside its CPU
per tick. Each figure is the page's own time in a tick (the picture
composed, its changed areas put on the canvas, and the step), with its
parts.
Usage: measure-web.py [--ticks N] [SITE]."""
import argparse
import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools", "lib"))
from headless_chromium import Server, chromium, close  # noqa: E402

# (size, face set, start population): the saver's default, then full worlds.
WORLDS = [("1920x1080", "lifeface", 150), ("3840x2160", "tinyface", 150),
          ("1920x1080", "lifeface", 2680), ("3840x2160", "tinyface", 43200)]


def measure(server, size, faces, initpop, ticks):
    width, height = (int(n) for n in size.split("x"))
    driver = chromium(width, height)
    try:
        driver.get(f"{server.url}?seed=1&delay=0&fps&faces={faces}&initpop={initpop}"
                   f"&stop-after={ticks}")
        deadline = time.monotonic() + 600
        while time.monotonic() < deadline:
            data = driver.execute_script("return document.documentElement.dataset")
            if data.get("state") in ("stopped", "failed"):
                break
            time.sleep(0.5)
        if data.get("state") != "stopped":
            return f"no result ({data.get('state')})"
        return (f"{float(data['msPerTick']):7.3f} ms per tick (compose "
                f"{data['msCompose']}, put {data['msPut']}, step {data['msStep']})")
    finally:
        close(driver)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--ticks", type=int, default=300)
    parser.add_argument("site", nargs="?", default=os.path.join(ROOT, "build", "web"))
    args = parser.parse_args()
    server = Server(args.site)
    for size, faces, initpop in WORLDS:
        print(f"browser   {size:9} {faces + '.bmp':12} {initpop:<7} "
              f"{measure(server, size, faces, initpop, args.ticks)}", flush=True)


if __name__ == "__main__":
    main()
