#!/usr/bin/env python3
"""The web storefront in headless Chromium, on sites built by trovecart-cli: from file:// and HTTP,
same-window and pop-up mode, catalogue, options, cart, checkout fields, keyboard and narrow screens.
Exit code 77 (skipped) when no Chromium is installed."""
import argparse
import functools
import http.server
import json
import os
import shutil
import sys
import tempfile
import threading
import unittest
import urllib.parse

import browser
import sites

ARGS = None
HOSTILE = "<img src=x onerror=alert(1)>"
# Quotes and backslashes pass through two layers of escaping in the catalogue script.
DESCRIPTION = "<b>not bold</b> \\ 'single' \"double\" \\'"

# Fields a checkout form posted, instead of leaving for PayPal.
CAPTURE_SUBMIT = """
HTMLFormElement.prototype.submit = function () {
  window.submitted = {action: this.action, method: this.method, target: this.target,
                      fields: Array.from(this.elements).map(function (e) { return [e.name, e.value]; })};
};"""


def catalogue(payment_email="seller@example.com", winmode=1):
    return sites.shop_xml(
        "TestShop", winmode=winmode, payment_email=payment_email, symbol="\u20ac", currency="EUR",
        title='<font size="14">Tom &amp; Jerry\'s &lt;Shop&gt;</font>',
        footer="\u00a9 Test shop\nAll prices include VAT.", homepage="www.example.com",
        email="info@example.com", noimage="No picture yet", novideo="No video preview",
        noaudio="No audio preview",
        categories=[
            ("Clothing", [
                {"name": "Classic T-shirt", "price": 19.99, "discount": 14.5, "shipping": 4,
                 "thumb": "tshirt_Thumb.png", "img": "shirt.png", "desc": "Soft cotton.\nMachine washable.",
                 "options": [("Size", ["S", "M", "L"]), ("Colour", ["White", "Black"])]},
                {"name": HOSTILE, "price": 5, "desc": DESCRIPTION, "options": [("Empty", [])]},
                {"name": "Mug", "price": 8, "discount": 9, "shipping": 2.5, "thumb": "missing_Thumb.png",
                 "options": [("Material", ["Ceramic"]), ("Colour", ["Red", "Blue"]),
                             ("Size", ["Small", "Large"])]},
            ]),
            ("Music", [
                {"name": "Evening Sessions", "type": "music", "preview": "song.mp3", "duration": "00:00:01",
                 "price": 12, "thumb": "album_Thumb.png"},
                {"name": "Lost Tape", "type": "music", "preview": "gone.mp3", "price": 3},
            ]),
            ("Video", [
                {"name": "Workshop", "type": "video", "preview": "clip.flv", "duration": "00:00:01",
                 "price": 25, "thumb": "film_Thumb.png", "options": [("Format", ["Download", "DVD"])]},
                {"name": "No Preview", "type": "video", "price": 7},
            ]),
            ("Deals & <More>", []),
        ])


class StorefrontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.workdir = tempfile.mkdtemp(prefix="storefront-test-")
        builder = sites.SiteBuilder(ARGS.cli, ARGS.templates, cls.workdir)
        media = os.path.join(cls.workdir, "media")
        cls.has_media = sites.make_media(media)
        files = {"image/shirt.png": sites.picture(320, 240, (0x20, 0x60, 0xC0))}
        if cls.has_media:
            # The video has its FLV alone, as projects made before web copies: the build makes the MP4.
            for name, target in (("song.mp3", "preview/song.mp3"), ("clip.flv", "preview/clip.flv")):
                with open(os.path.join(media, name), "rb") as handle:
                    files[target] = handle.read()
        cls.site = builder.build("shop", catalogue(), files=files)
        cls.unpaid_site = builder.build("unpaid", catalogue(payment_email=""))
        cls.popup_site = builder.build("popup", catalogue(winmode=2))
        many = [{"name": "Item %d" % n, "price": n} for n in range(1, 151)]
        cls.big_site = builder.build("big", sites.shop_xml("BigShop", [("All", many)]))
        handler = functools.partial(QuietHandler, directory=cls.site)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.http_url = "http://127.0.0.1:%d/" % cls.server.server_address[1]
        cls.browser = browser.Browser(ARGS.chromium)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.shutdown()
        cls.server.server_close()
        shutil.rmtree(cls.workdir, ignore_errors=True)

    def setUp(self):
        self.pages = []

    def tearDown(self):
        for page in self.pages:
            local = [url for url in page.network_requests()
                     if not url.startswith(("file://", self.http_url, "data:"))]
            self.assertEqual(local, [], "requests beyond the site")
            self.assertEqual(page.dialogs_opened(), [])
            self.browser.send("Target.closeTarget", {"targetId": page.target})

    def open(self, url, width=1280, height=900, empty_cart=False):
        page = self.browser.new_page(width, height)
        self.pages.append(page)
        page.add_script(CAPTURE_SUBMIT)
        page.navigate(url)
        page.wait_for("document.querySelector('.sf[data-state=ready]') !== null")
        if empty_cart:
            page.evaluate("localStorage.clear()")
            self.reload(page)
        return page

    def reload(self, page):
        page.reload()
        page.wait_for("document.querySelector('.sf[data-state=ready]') !== null")

    def file_url(self, site, page="index.html", fragment=""):
        return "file://" + urllib.parse.quote(os.path.join(site, page)) + fragment

    def texts(self, page, selector):
        return page.evaluate("Array.from(document.querySelectorAll(%s)).map(e => e.textContent)"
                             % json.dumps(selector))

    def goto(self, page, fragment):
        page.evaluate("location.hash = %s" % json.dumps(fragment))
        page.wait_for("document.querySelector('.sf-heading') && location.hash === %s" % json.dumps(fragment))

    def add_to_cart(self, page, product, choices=(), quantity=1):
        self.goto(page, "#sf-p%d" % product)
        for index, value in enumerate(choices):
            page.evaluate("(s => { s.value = %s; })(document.querySelectorAll('.sf-buy select')[%d])"
                          % (json.dumps(value), index))
        page.evaluate("document.querySelector('.sf-buy input').value = '%d'" % quantity)
        page.evaluate("document.querySelector('.sf-buy .sf-primary').click()")

    def test_grid_shows_products_prices_and_pictures_in_place_of_the_movie(self):
        page = self.open(self.file_url(self.site))
        self.assertEqual(page.evaluate("getComputedStyle(document.getElementById('shoppingcart')).display"), "none")
        self.assertTrue(page.evaluate("document.querySelector('.sf').nextElementSibling.id === 'shoppingcart'"))
        self.assertEqual(page.evaluate("[document.querySelector('.sf').offsetWidth, "
                                       "document.querySelector('.sf').offsetHeight]"), [640, 420])
        self.assertEqual(self.texts(page, ".sf-title"), ["Tom & Jerry's <Shop>"])
        self.assertEqual(self.texts(page, ".sf-cats a"), ["Clothing", "Music", "Video", "Deals & <More>"])
        self.assertEqual(self.texts(page, ".sf-card .sf-name"), ["Classic T-shirt", HOSTILE, "Mug"])
        self.assertEqual(self.texts(page, ".sf-card .sf-prices"),
                         ["\u20ac14.50Was \u20ac19.99", "\u20ac5.00", "\u20ac8.00"])
        self.assertEqual(self.texts(page, ".sf-card .sf-was"), ["Was \u20ac19.99"])
        page.wait_for("document.querySelector('.sf-card img').complete")
        self.assertGreater(page.evaluate("document.querySelector('.sf-card img').naturalWidth"), 0)
        # No thumbnail, and a thumbnail whose file is missing, both show the shop's text.
        page.wait_for("document.querySelectorAll('.sf-card .sf-missing').length === 2")
        self.assertEqual(self.texts(page, ".sf-card .sf-missing"), ["No picture yet"] * 2)
        self.assertEqual(self.texts(page, ".sf-foottext"), ["\u00a9 Test shop\nAll prices include VAT."])
        self.assertEqual(page.evaluate("document.querySelector('.sf-footlinks a').href"), "http://www.example.com/")
        self.assertEqual(page.evaluate("document.querySelector('.sf-footlinks a[href^=mailto]').href"),
                         "mailto:info@example.com")
        self.goto(page, "#sf-c4")
        self.assertEqual(self.texts(page, ".sf-heading"), ["Deals & <More>"])
        self.assertEqual(len(self.texts(page, ".sf-card")), 0)
        # The owner's page may use fragments of its own; the shop stays as the buyer left it.
        self.goto(page, "#sf-p1")
        page.evaluate("document.querySelector('.sf-buy select').value = 'L'")
        page.evaluate("location.hash = '#top'; new Promise(done => setTimeout(done, 200))")
        self.assertEqual(page.evaluate("document.querySelector('.sf-buy select').value"), "L")

    def test_a_long_grid_fills_in_and_keeps_its_place(self):
        page = self.open(self.file_url(self.big_site))
        page.wait_for("document.querySelectorAll('.sf-card').length === 150")
        self.assertEqual(self.texts(page, ".sf-card .sf-name"), ["Item %d" % n for n in range(1, 151)])
        place = page.evaluate("(b => { b.scrollTop = 4000; return b.scrollTop; })(document.querySelector('.sf-body'))")
        self.assertGreater(place, 3000)
        self.goto(page, "#sf-p120")
        page.evaluate("history.back()")
        page.wait_for("location.hash === '' && document.querySelector('.sf-grid') !== null")
        self.assertEqual(page.evaluate("document.querySelector('.sf-body').scrollTop"), place)
        self.assertEqual(page.evaluate("document.querySelectorAll('.sf-card').length"), 150)

    def test_shop_texts_are_shown_as_text(self):
        page = self.open(self.file_url(self.site, fragment="#sf-p2"))
        self.assertEqual(self.texts(page, ".sf-heading"), [HOSTILE])
        self.assertEqual(self.texts(page, ".sf-desc"), [DESCRIPTION])
        self.assertEqual(page.evaluate("document.querySelectorAll('.sf img[src$=\"/x\"], .sf b').length"), 0)
        # An option without values offers nothing to choose.
        self.assertEqual(page.evaluate("document.querySelectorAll('.sf-buy select').length"), 0)

    def test_product_view_picture_description_options_and_facts(self):
        page = self.open(self.file_url(self.site, fragment="#sf-p1"))
        self.assertEqual(self.texts(page, ".sf-heading"), ["Classic T-shirt"])
        self.assertTrue(page.evaluate("document.querySelector('.sf-media img').src.endsWith('/image/shirt.png')"))
        self.assertEqual(page.evaluate("document.querySelector('.sf-desc').innerText"),
                         "Soft cotton.\nMachine washable.")
        self.assertEqual(self.texts(page, ".sf-buy label"), ["Size", "Colour", "Quantity"])
        self.assertEqual(self.texts(page, ".sf-field:first-child option"), ["S", "M", "L"])
        self.assertEqual(page.evaluate("getComputedStyle(document.querySelector('.sf-was')).textDecorationLine"),
                         "line-through")
        self.assertEqual(self.texts(page, ".sf-facts dd"), ["\u20ac4.00"])
        self.assertEqual(page.evaluate("document.querySelector('.sf-cats a[aria-current]').textContent"),
                         "Clothing")
        self.goto(page, "#sf-p3")
        self.assertEqual(self.texts(page, ".sf-info .sf-prices"), ["\u20ac8.00"])
        self.assertEqual(len(self.texts(page, ".sf-buy select")), 3)

    def test_audio_and_video_previews(self):
        page = self.open(self.file_url(self.site, fragment="#sf-p4"))
        self.assertEqual(self.texts(page, ".sf-facts dd"), ["Free", "00:00:01"])
        self.assertTrue(page.evaluate("document.querySelector('audio.sf-player').src.endsWith('/preview/song.mp3')"))
        if self.has_media:
            page.wait_for("document.querySelector('audio.sf-player').readyState >= 1")
        self.goto(page, "#sf-p5")
        page.wait_for("document.querySelector('.sf-nomedia') !== null")
        self.assertEqual(self.texts(page, ".sf-nomedia"), ["No audio preview"])
        self.goto(page, "#sf-p6")
        self.assertTrue(page.evaluate("document.querySelector('video.sf-player').src.endsWith('/preview/clip.mp4')"))
        if self.has_media:
            page.wait_for("document.querySelector('video.sf-player').videoWidth === 160")
        self.goto(page, "#sf-p7")
        self.assertEqual(self.texts(page, ".sf-nomedia"), ["No video preview"])

    def test_cart_keeps_lines_and_totals_with_shipping(self):
        page = self.open(self.file_url(self.site), empty_cart=True)
        self.add_to_cart(page, 1, ["M", "Black"], 2)
        self.assertEqual(self.texts(page, ".sf-count"), ["2"])
        self.add_to_cart(page, 1, ["M", "Black"], 1)
        self.add_to_cart(page, 1, ["L", "White"], 1)
        self.add_to_cart(page, 3, ["Ceramic", "Blue", "Large"], 2)
        self.goto(page, "#sf-cart")
        self.assertEqual(self.texts(page, ".sf-lineopts"),
                         ["Size: M, Colour: Black", "Size: L, Colour: White",
                          "Material: Ceramic, Colour: Blue, Size: Large"])
        self.assertEqual(page.evaluate("Array.from(document.querySelectorAll('.sf-linectl input'), e => e.value)"),
                         ["3", "1", "2"])
        # 4 x 14.50 + 2 x 8.00; shipping once per line: 4 + 4 + 2.50.
        self.assertEqual(self.texts(page, ".sf-subtotal, .sf-shipping, .sf-total"),
                         ["\u20ac74.00", "\u20ac10.50", "\u20ac84.50 EUR"])
        page.evaluate("(i => { i.value = '1'; i.dispatchEvent(new Event('change')); })"
                      "(document.querySelector('.sf-linectl input'))")
        self.assertEqual(self.texts(page, ".sf-total"), ["\u20ac55.50 EUR"])
        page.evaluate("document.querySelectorAll('.sf-remove')[1].click()")
        self.assertEqual(self.texts(page, ".sf-linename"), ["Classic T-shirt", "Mug"])
        self.assertEqual(self.texts(page, ".sf-count"), ["3"])

        self.goto(page, "#sf-p1")
        self.reload(page)
        self.assertEqual(self.texts(page, ".sf-count"), ["3"], "the stored cart is counted on a fresh page")
        self.goto(page, "#sf-cart")
        self.reload(page)
        self.assertEqual(self.texts(page, ".sf-linename"), ["Classic T-shirt", "Mug"])
        self.assertEqual(self.texts(page, ".sf-total"), ["\u20ac37.00 EUR"])
        stored = json.loads(page.evaluate("localStorage.getItem('storefront-cart:TestShop')"))
        self.assertEqual([line["quantity"] for line in stored], [1, 2])

    def test_a_stored_cart_keeps_only_lines_the_catalogue_still_sells(self):
        page = self.open(self.file_url(self.site), empty_cart=True)
        lines = [{"product": 1, "name": "Classic T-shirt", "choices": ["L", "Black"], "quantity": 2},
                 {"product": 1, "name": "Renamed shirt", "choices": ["L", "Black"], "quantity": 1},
                 {"product": 1, "name": "Classic T-shirt", "choices": ["XXL", "Black"], "quantity": 1},
                 {"product": 3, "name": "Mug", "choices": ["Ceramic"], "quantity": 1},
                 {"product": "__proto__", "name": None, "choices": [], "quantity": 1},
                 {"product": 99, "name": "Gone", "choices": [], "quantity": 1},
                 {"product": 4, "name": "Evening Sessions", "choices": [], "quantity": 5000}, None]
        page.evaluate("localStorage.setItem('storefront-cart:TestShop', %s)" % json.dumps(json.dumps(lines)))
        self.reload(page)
        self.goto(page, "#sf-cart")
        self.assertEqual(self.texts(page, ".sf-linename"), ["Classic T-shirt", "Evening Sessions"])
        self.assertEqual(page.evaluate("Array.from(document.querySelectorAll('.sf-linectl input'), e => e.value)"),
                         ["2", "999"])
        page.evaluate("localStorage.setItem('storefront-cart:TestShop', '{not json')")
        self.reload(page)
        self.assertEqual(self.texts(page, ".sf-count"), ["0"])

    def test_checkout_posts_the_paypal_cart_upload(self):
        page = self.open(self.http_url + "index.html", empty_cart=True)
        self.add_to_cart(page, 1, ["S", "White"], 2)
        self.add_to_cart(page, 3, ["Ceramic", "Red", "Small"], 1)
        self.goto(page, "#sf-cart")
        page.evaluate("document.querySelector('.sf-checkout').click()")
        submitted = page.wait_for("window.submitted")
        self.assertEqual(submitted["action"], "https://www.paypal.com/cgi-bin/webscr")
        self.assertEqual(submitted["method"], "post")
        self.assertEqual(submitted["fields"], [
            ["cmd", "_cart"], ["upload", "1"], ["business", "seller@example.com"], ["currency_code", "EUR"],
            ["charset", "utf-8"],
            ["item_name_1", "Classic T-shirt"], ["amount_1", "14.50"], ["quantity_1", "2"], ["shipping_1", "4.00"],
            ["on0_1", "Size"], ["os0_1", "S"], ["on1_1", "Colour"], ["os1_1", "White"],
            # A discount above the price is no discount.
            ["item_name_2", "Mug"], ["amount_2", "8.00"], ["quantity_2", "1"], ["shipping_2", "2.50"],
            ["on0_2", "Material"], ["os0_2", "Ceramic"], ["on1_2", "Colour, Size"], ["os1_2", "Red, Small"],
        ])

    def test_checkout_needs_a_payment_address(self):
        page = self.open(self.file_url(self.unpaid_site), empty_cart=True)
        self.add_to_cart(page, 2)
        self.goto(page, "#sf-cart")
        self.assertTrue(page.evaluate("document.querySelector('.sf-checkout').disabled"))
        self.assertIn("payment", self.texts(page, ".sf-reason")[0])
        page.evaluate("document.querySelector('.sf-checkout').click()")
        self.assertIsNone(page.evaluate("window.submitted"))

    def test_over_http_pictures_and_media_load(self):
        page = self.open(self.http_url + "index.html")
        page.wait_for("document.querySelector('.sf-card img').naturalWidth > 0")
        self.goto(page, "#sf-p6")
        if self.has_media:
            page.wait_for("document.querySelector('video.sf-player').readyState >= 1")

    def test_popup_mode_launcher_opens_the_storefront(self):
        page = self.browser.new_page(1280, 900)
        self.pages.append(page)
        page.navigate(self.file_url(self.popup_site))
        self.assertEqual(page.evaluate("document.querySelectorAll('.sf').length"), 0)
        self.browser.send("Target.setDiscoverTargets", {"discover": True})
        try:
            page.evaluate("document.querySelector('a').click()", user_gesture=True)
            created = self.browser.wait_event(
                lambda e: e["method"] in ("Target.targetCreated", "Target.targetInfoChanged") and
                e["params"]["targetInfo"]["url"].endswith("/shoppingcart.html"))
        finally:
            self.browser.send("Target.setDiscoverTargets", {"discover": False})
        popup = self.browser.attach(created["params"]["targetInfo"]["targetId"])
        self.pages.append(popup)
        popup.wait_for("document.querySelector('.sf[data-state=ready]') !== null")
        self.assertEqual(self.texts(popup, ".sf-card .sf-name")[0], "Classic T-shirt")
        self.assertEqual(popup.evaluate("getComputedStyle(document.getElementById('shoppingcart')).display"),
                         "none")

    def test_keyboard_reaches_a_product_and_adds_it(self):
        page = self.open(self.file_url(self.site), empty_cart=True)
        for _ in range(12):
            page.press("Tab")
            if page.evaluate("document.activeElement.classList.contains('sf-card')"):
                break
        self.assertEqual(page.evaluate("document.activeElement.querySelector('.sf-name').textContent"),
                         "Classic T-shirt")
        page.press("Enter")
        page.wait_for("location.hash === '#sf-p1' && document.activeElement.classList.contains('sf-heading')")
        for _ in range(6):
            page.press("Tab")
            if page.evaluate("document.activeElement.classList.contains('sf-primary')"):
                break
        page.press("Enter")
        page.wait_for("document.querySelector('.sf-count').textContent === '1'")
        self.assertIn("Added to your cart", self.texts(page, ".sf-status")[0])

    def test_readable_at_320_pixels(self):
        page = self.open(self.file_url(self.site), width=320, height=640, empty_cart=True)
        for fragment in ("#sf-c1", "#sf-p1", "#sf-p3", "#sf-cart"):
            if fragment == "#sf-cart":
                self.add_to_cart(page, 3, ["Ceramic", "Red", "Small"], 1)
            self.goto(page, fragment)
            self.assertLessEqual(page.evaluate("document.documentElement.scrollWidth"), 320, fragment)
            self.assertTrue(page.evaluate(
                "(b => b.scrollWidth <= b.clientWidth)(document.querySelector('.sf-body'))"), fragment)
            self.assertGreaterEqual(page.evaluate(
                "Math.min(...Array.from(document.querySelectorAll('.sf-main *'), "
                "e => parseFloat(getComputedStyle(e).fontSize)))"), 12, fragment)

    def test_missing_catalogue_says_so(self):
        os.rename(os.path.join(self.unpaid_site, "shoppingcart", "shopdata.js"),
                  os.path.join(self.unpaid_site, "shopdata.js.away"))
        try:
            page = self.browser.new_page()
            self.pages.append(page)
            page.navigate(self.file_url(self.unpaid_site))
            page.wait_for("document.querySelector('.sf-failed') !== null")
        finally:
            os.rename(os.path.join(self.unpaid_site, "shopdata.js.away"),
                      os.path.join(self.unpaid_site, "shoppingcart", "shopdata.js"))


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--templates", required=True)
    parser.add_argument("--chromium", default=browser.find_chromium())
    ARGS, rest = parser.parse_known_args()
    if not ARGS.chromium:
        print("SKIPPED: no Chromium installed (apt-get install chromium); the storefront was not tested.")
        return 77
    program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
