"""Debian's Chromium, headless, driven by Selenium, for the browser page's
tests and measurements: a fresh profile each time, the page exactly
width x height CSS pixels at one device pixel per CSS pixel, and a local
web server for a site folder."""
import functools
import http.server
import shutil
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ("--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
         "--no-first-run", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--force-device-scale-factor=1", "--window-size=1024,768")


def chromium(width, height):
    """A browser whose page is width x height; close() it when done."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    profile = tempfile.mkdtemp(prefix="life-chromium-")
    for flag in FLAGS + (f"--user-data-dir={profile}",):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.profile = profile
    # The page's size exactly: a window has a least size, and room for its frame.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
    return driver


def close(driver):
    driver.quit()
    shutil.rmtree(driver.profile, ignore_errors=True)


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Server:
    """The files of a folder over HTTP on a free local port, at url."""

    def __init__(self, site):
        handler = functools.partial(_QuietHandler, directory=site)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
