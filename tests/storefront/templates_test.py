#!/usr/bin/env python3
"""Every shipped template carries the storefront as scripts/make_templates.py makes it, small enough
to load fast: the committed copies cannot fall behind src/storefront."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SHIPPED = os.path.join(ROOT, "Files", "Template")
FILES = ("storefront.js", "storefront.css")


def read(path):
    with open(path, "rb") as handle:
        return handle.read()


class ShippedStorefrontTest(unittest.TestCase):
    def test_templates_carry_the_current_storefront(self):
        with tempfile.TemporaryDirectory() as made:
            subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make_templates.py"), made], check=True)
            names = sorted(n for n in os.listdir(made) if os.path.isdir(os.path.join(made, n)))
            self.assertGreaterEqual(len(names), 4)
            looks = set()
            for name in names:
                for file_name in FILES:
                    with self.subTest(template=name, file=file_name):
                        self.assertEqual(read(os.path.join(SHIPPED, name, file_name)),
                                         read(os.path.join(made, name, file_name)),
                                         "run scripts/make_templates.py and commit Files/Template")
                size = sum(len(read(os.path.join(made, name, f))) for f in FILES)
                self.assertLess(size, 40 * 1024, name)
                looks.add(read(os.path.join(made, name, "storefront.css")))
            self.assertEqual(len(looks), len(names), "each template has its own look")


if __name__ == "__main__":
    unittest.main(verbosity=2)
