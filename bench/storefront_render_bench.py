#!/usr/bin/env python3
"""First render of a 1,000-product shop in headless Chromium: the storefront (catalogue script,
storefront.js, all products in one category) against a static page listing the same products with
the same style sheet, which is what a hand-made page would give. Prints the load average first,
then the medians of several runs and their ratio. Goal: the storefront's first paint under 300 ms.

Usage: bench/storefront_render_bench.py [--build build] [--runs 7]"""
import argparse
import html
import os
import shutil
import statistics
import sys
import tempfile
import urllib.parse

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "storefront"))
import browser  # noqa: E402
import sites  # noqa: E402

PRODUCTS = 1000
GOAL_MS = 300

# Records the first contentful paint, whichever page it is.
PAINT_PROBE = """
window.firstPaint = null;
new PerformanceObserver(function (list) {
  list.getEntries().forEach(function (e) { if (e.name === 'first-contentful-paint') window.firstPaint = e.startTime; });
}).observe({type: 'paint', buffered: true});"""


def big_shop():
    products = [{"name": "Product %d" % n, "price": 10 + n % 50, "discount": (5 + n % 50) if n % 7 == 0 else 0,
                 "shipping": 2.5, "thumb": "thumb%d_Thumb.png" % (n % 20), "desc": "Line one\nLine two",
                 "options": [("Size", ["S", "M", "L"])]} for n in range(1, PRODUCTS + 1)]
    return sites.shop_xml("BenchShop", [("Everything", products)], payment_email="seller@example.com")


def static_page(site):
    """The same grid written out as plain HTML beside the storefront's files."""
    cards = "".join(
        '<li><a class="sf-card" href="#"><span class="sf-thumb" style="height:100px">'
        '<img loading="lazy" alt="" src="shoppingcart/thumb/thumb%d_Thumb.png"></span>'
        '<span class="sf-name">%s</span><span class="sf-prices"><span class="sf-price">$%d.00</span>'
        "</span></a></li>" % (n % 20, html.escape("Product %d" % n), 10 + n % 50) for n in range(1, PRODUCTS + 1))
    page = ('<html><head><meta charset="utf-8"><link rel="stylesheet" href="shoppingcart/storefront.css">'
            '</head><body><div class="sf" style="width:640px;height:420px"><div class="sf-body"><main class="sf-main">'
            '<ul class="sf-grid">%s</ul></main></div></div></body></html>' % cards)
    path = os.path.join(site, "static.html")
    with open(path, "w", encoding="utf-8") as handle:
        handle.write(page)
    return path


def measure(chromium, url, ready_expression):
    page = chromium.new_page(1280, 900)
    page.send("Network.setCacheDisabled", {"cacheDisabled": True})
    page.add_script(PAINT_PROBE)
    page.navigate(url)
    page.wait_for(ready_expression)
    paint = page.wait_for("window.firstPaint")
    ready = page.evaluate("(performance.getEntriesByName('storefront-ready')[0] || {}).startTime || null")
    chromium.send("Target.closeTarget", {"targetId": page.target})
    return paint, ready


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    with open("/proc/loadavg") as handle:
        print("load average: " + handle.read().strip())
    if not browser.find_chromium():
        print("no Chromium installed")
        return 1

    work = tempfile.mkdtemp(prefix="storefront-bench-")
    try:
        builder = sites.SiteBuilder(os.path.join(args.build, "src", "app", "trovecart-cli"),
                                    os.path.join(ROOT, "Files", "Template"), work)
        thumbs = {"thumb/thumb%d_Thumb.png" % n: sites.picture(100, 100, (n * 12, 80, 160)) for n in range(20)}
        site = builder.build("bench", big_shop(), files=thumbs)
        storefront_url = "file://" + urllib.parse.quote(os.path.join(site, "index.html"))
        static_url = "file://" + urllib.parse.quote(static_page(site))
        chromium = browser.Browser()
        try:
            measure(chromium, storefront_url, "document.querySelector('.sf[data-state=ready]') !== null")  # warm-up
            storefront, ready, plain = [], [], []
            for _ in range(args.runs):
                paint, ready_ms = measure(chromium, storefront_url,
                                          "document.querySelectorAll('.sf-card').length === %d" % PRODUCTS)
                storefront.append(paint)
                ready.append(ready_ms)
                plain.append(measure(chromium, static_url, "document.readyState === 'complete'")[0])
        finally:
            chromium.close()
    finally:
        shutil.rmtree(work, ignore_errors=True)

    median_storefront, median_plain = statistics.median(storefront), statistics.median(plain)
    print("products: %d in one category, %d runs" % (PRODUCTS, args.runs))
    print("storefront first paint: median %.0f ms (rendered at %.0f ms)" % (median_storefront,
                                                                           statistics.median(ready)))
    print("static page first paint: median %.0f ms" % median_plain)
    print("ratio storefront / static: %.2f" % (median_storefront / median_plain))
    print("goal under %d ms: %s" % (GOAL_MS, "met" if median_storefront < GOAL_MS else "NOT met"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
