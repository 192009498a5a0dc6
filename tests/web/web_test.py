#!/usr/bin/python3
"""The browser page (build/web) in headless Chromium: the picture after N
ticks equals life-render's for the same size, seed and settings, from a web
server and from file://, with no console error, and after a resize, at the
new size in device pixels; bad query values warn and
fall back to the defaults; a face set that cannot be loaded says so on the
page. Usage: web_test.py [SITE] [LIFE_RENDER]."""
import base64
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "lib"))
from headless_chromium import Server, chromium, close  # noqa: E402
SITE = os.path.join(ROOT, "build", "web")
LIFE_RENDER = os.path.join(ROOT, "build", "native", "bin", "life-render")
ASSETS = os.path.join(ROOT, "assets")
FACES = {"lifeface": "lifeface.bmp,16,16,25,6,5,12", "tinyface": "tinyface.bmp,8,8,13,6,2,7"}


def wait_for(driver, script, timeout=60):
    """The value of script once it is truthy; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for: {script}")


def canvas_rgb(driver):
    """The canvas's pixels as RGB bytes, read back through a PNG."""
    url = driver.execute_script("return document.getElementById('world').toDataURL('image/png')")
    return png_rgb(base64.b64decode(url.split(",", 1)[1]))


def png_rgb(png):
    return subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                          capture_output=True, check=True).stdout


def render_rgb(width, height, ticks, args):
    with tempfile.TemporaryDirectory() as scratch:
        out = os.path.join(scratch, "reference.png")
        subprocess.run([LIFE_RENDER, f"--size={width}x{height}", f"--ticks={ticks}",
                        f"--dir={ASSETS}", f"--out={out}"] + args, check=True)
        with open(out, "rb") as f:
            return png_rgb(f.read())


class WebPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server(SITE)

    def open(self, base, query, width=400, height=300):
        driver = chromium(width, height)
        self.addCleanup(close, driver)
        driver.get(base + "?" + query)
        return driver

    def test_picture_matches_life_render(self):
        # (where, size, query, life-render options, warnings expected)
        cases = [
            ("http", (400, 300), "seed=7&stop-after=20&delay=0", ["--face=" + FACES["lifeface"],
             "--seed=7"], []),
            ("file", (320, 240), "faces=Tinyface&seed=3&stop-after=12&delay=1000",
             ["--face=" + FACES["tinyface"], "--seed=3"], []),
            # Query values change the picture as the hack's options do.
            ("http", (400, 300), "seed=9&initpop=600&color=%2300ff80&no-frame&mini-display=0"
             "&stop-after=8&delay=0", ["--face=" + FACES["lifeface"], "--seed=9",
             "--initpop=600", "--color=0x80ff00", "--no-frame-screen", "--no-mini-display"], []),
            # Bad values: a warning each, and the default in their place.
            ("http", (400, 300), "seed=5&delay=abc&initpop=-3&faces=nosuch&color=red"
             "&frame=maybe&bogus=1&stop-after=6", ["--face=" + FACES["lifeface"], "--seed=5"],
             ["delay", "initpop", "faces", "color", "frame", "bogus"]),
        ]
        for where, (width, height), query, args, warnings in cases:
            with self.subTest(query=query, where=where):
                base = self.server.url if where == "http" else "file://" + SITE + "/index.html"
                driver = self.open(base, query, width, height)
                self.assertEqual(driver.execute_script(
                    "return [innerWidth, innerHeight, devicePixelRatio]"), [width, height, 1])
                wait_for(driver, "return document.documentElement.dataset.state === 'stopped'")
                ticks = int(query.split("stop-after=")[1].split("&")[0])
                self.assertTrue(canvas_rgb(driver) == render_rgb(width, height, ticks, args),
                                "the canvas differs from life-render's picture")
                log = driver.get_log("browser")
                self.assertEqual([e for e in log if e["level"] == "SEVERE"], [])
                warned = [e["message"] for e in log if e["level"] == "WARNING"]
                for name in warnings:
                    self.assertTrue(any(f"option {name}" in m for m in warned), (name, warned))
                self.assertEqual(len(warned), len(warnings), warned)

    def test_a_resized_window_gets_a_world_of_its_size_in_device_pixels(self):
        driver = self.open(self.server.url, "seed=11&stop-after=5&delay=0&faces=tinyface")
        wait_for(driver, "return document.documentElement.dataset.state === 'stopped'")
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 320, "height": 200, "deviceScaleFactor": 2, "mobile": False})
        wait_for(driver, "const c = document.getElementById('world');"
                         "return c.width === 640 && c.height === 400 && c.clientWidth === 320"
                         " && document.documentElement.dataset.state === 'stopped'")
        self.assertTrue(canvas_rgb(driver) == render_rgb(
            640, 400, 5, ["--face=" + FACES["tinyface"], "--seed=11"]))

    def test_face_set_that_cannot_be_loaded_is_named_on_the_page(self):
        site = tempfile.mkdtemp(prefix="life-web-site-")
        self.addCleanup(shutil.rmtree, site)
        shutil.copytree(SITE, site, dirs_exist_ok=True)
        os.remove(os.path.join(site, "faces", "tinyface.bmp.js"))
        with open(os.path.join(site, "faces", "fishface.bmp.js"), "w") as f:
            f.write('"use strict";\nlifeData("fishface.bmp", "Qk0AAAAA");\n')
        for faces, says in (("tinyface", "tinyface.bmp cannot be loaded"),
                            ("fishface", "Unable to find, fishface.bmp")):
            with self.subTest(faces=faces):
                driver = self.open("file://" + site + "/index.html", "faces=" + faces)
                text = wait_for(driver, "const m = document.getElementById('message');"
                                        "return !m.hidden && m.textContent")
                self.assertIn(says, text)
                self.assertTrue(driver.find_element("id", "message").is_displayed())


if __name__ == "__main__":
    if len(sys.argv) > 2:
        LIFE_RENDER = sys.argv.pop(2)
    if len(sys.argv) > 1:
        SITE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
