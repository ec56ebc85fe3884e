#!/usr/bin/env python3
"""Screenshots of the web storefront in headless Chromium: grid, product view and cart at 1280 and
360 pixels wide for one template, and the grid of every other template. Sites are built from the
shipped templates by trovecart-cli. Usage: scripts/storefront_screenshots.py [--build build] [OUTDIR]"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "storefront"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import browser  # noqa: E402
import make_templates  # noqa: E402
import sites  # noqa: E402

SIZES = {1280: 800, 360: 740}


def demo_shop(template):
    """The template's own starting shop with a sale price, pictures and a payment address."""
    with open(os.path.join(ROOT, "Files", "Template", template, "shop.xml"), encoding="utf-8") as handle:
        document = handle.read()
    document = document.replace("<email />", "<email>seller@example.com</email>")
    document = document.replace("<price>39</price>\n                    <discount>0</discount>",
                                "<price>39</price>\n                    <discount>29.9</discount>", 1)
    for thumb in ("tshirt", "hoodie"):
        document = re.sub(r"(<thumb><!\[CDATA\[%s_Thumb.png\]\]></thumb>\s*<img><!\[CDATA\[)(\]\])" % thumb,
                          r"\g<1>%s.png\2" % thumb, document)
    return document.encode("utf-8")


def cart_page(site, shop_id):
    """A copy of the shop's page whose cart already holds two lines."""
    lines = [{"product": 1, "name": "Classic T-shirt", "choices": ["M", "Navy"], "quantity": 2},
             {"product": 2, "name": "Hooded sweater", "choices": ["L"], "quantity": 1}]
    fill = "<script>localStorage.setItem(%s, %s)</script>\r\n" % (
        json.dumps("storefront-cart:" + shop_id), json.dumps(json.dumps(lines)))
    with open(os.path.join(site, "index.html"), encoding="utf-8") as handle:
        page = handle.read()
    page = page.replace('<script src="shoppingcart/storefront.js">', fill + '<script src="shoppingcart/storefront.js">')
    with open(os.path.join(site, "cart.html"), "w", encoding="utf-8") as handle:
        handle.write(page)


def shoot(site, page, fragment, width, target):
    profile = tempfile.mkdtemp(prefix="storefront-shot-")
    try:
        subprocess.run([browser.find_chromium()] + browser.FLAGS +
                       ["--user-data-dir=" + profile, "--hide-scrollbars", "--virtual-time-budget=4000",
                        "--window-size=%d,%d" % (width, SIZES[width]), "--screenshot=" + target,
                        "file://" + os.path.join(site, page) + fragment],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    print(target)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("outdir", nargs="?", default=os.path.join(ROOT, "build", "screenshots"))
    args = parser.parse_args()
    os.makedirs(args.outdir, exist_ok=True)
    work = tempfile.mkdtemp(prefix="storefront-shots-")
    try:
        builder = sites.SiteBuilder(os.path.join(args.build, "src", "app", "trovecart-cli"),
                                    os.path.join(ROOT, "Files", "Template"), work)
        for template, _, _, background, accent, _, _ in make_templates.TEMPLATES:
            pictures = {"image/%s.png" % kind: make_templates.product_picture(kind, accent, background, 480, 360,
                                                                              samples=2)
                        for kind in ("tshirt", "hoodie")}
            site = builder.build(template, demo_shop(template), template=template, files=pictures)
            if template != "ClassicBlue":
                page = "shoppingcart.html" if os.path.exists(os.path.join(site, "shoppingcart.html")) else "index.html"
                shoot(site, page, "", 1280, os.path.join(args.outdir, "storefront-%s.png" % template))
                continue
            cart_page(site, template)
            for width in SIZES:
                shoot(site, "index.html", "", width, os.path.join(args.outdir, "storefront-grid-%d.png" % width))
                shoot(site, "index.html", "#sf-p1", width,
                      os.path.join(args.outdir, "storefront-product-%d.png" % width))
                shoot(site, "cart.html", "#sf-cart", width,
                      os.path.join(args.outdir, "storefront-cart-%d.png" % width))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
