"""Test sites: a project made from a shipped template and a shop document, built by trovecart-cli."""
import os
import shutil
import subprocess
import sys
import zipfile
from xml.sax.saxutils import quoteattr

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from make_templates import png  # noqa: E402

def cdata(tag, text):
    return "<%s><![CDATA[%s]]></%s>" % (tag, text, tag)


def product_xml(p):
    kind = p.get("type", "general")
    out = '<item type="%s">' % kind
    out += cdata("name", p["name"]) + cdata("desc", p.get("desc", ""))
    out += cdata("thumb", p.get("thumb", "")) + cdata("img", p.get("img", ""))
    if kind != "general":
        out += cdata("preview", p.get("preview", "")) + cdata("duration", p.get("duration", "00:00:00"))
    out += "<price>%s</price><discount>%s</discount><shipping>%s</shipping>" % (
        p.get("price", 0), p.get("discount", 0), p.get("shipping", 0))
    for title, values in p.get("options", []):
        out += "<option id=%s>" % quoteattr(title)
        out += "".join('<id id="%d"><![CDATA[%s]]></id>' % (i, v) for i, v in enumerate(values, 1))
        out += "</option>"
    return out + "</item>"


def shop_xml(ident, categories, width=640, height=420, winmode=1, title="Test Shop", payment_email="",
             symbol="$", currency="USD", footer="", homepage="", email="", noimage="No image",
             novideo="No video", noaudio="No audio"):
    """A shop document; categories are (name, [product dicts]) with the keys product_xml reads."""
    out = '<?xml version="1.0" encoding="UTF-8"?><shop id="%s"><config>' % ident
    out += cdata("title", title) + cdata("footer", footer) + cdata("homepage", homepage) + cdata("email", email)
    out += '<dimension width="%d" height="%d"/><userdimension width="%d" height="%d"/>' % (
        width, height, width, height)
    out += '<thumbsize width="100" height="100"/><winmode value="%d"/>' % winmode
    out += cdata("noimage", noimage) + cdata("novideo", novideo) + cdata("noaudio", noaudio)
    out += "<currency><symbol>%s</symbol><abbreviation>%s</abbreviation></currency>" % (symbol, currency)
    out += '<paymentgateway type="paypal"><email>%s</email><currency>%s</currency></paymentgateway>' % (
        payment_email, currency)
    out += "</config><product>"
    for name, products in categories:
        out += "<category name=%s>%s</category>" % (quoteattr(name), "".join(product_xml(p) for p in products))
    return (out + "</product></shop>").encode("utf-8")


def picture(width, height, colour):
    return png(width, height, lambda x, y: colour)


def make_media(folder):
    """A one-second MP3 and an FLV video preview made by ffmpeg; False when ffmpeg is missing."""
    ffmpeg = shutil.which("ffmpeg")
    if not ffmpeg:
        return False
    os.makedirs(folder, exist_ok=True)
    quiet = [ffmpeg, "-v", "error", "-y"]
    subprocess.run(quiet + ["-f", "lavfi", "-i", "sine=d=1", "-c:a", "libmp3lame",
                            os.path.join(folder, "song.mp3")], check=True)
    subprocess.run(quiet + ["-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:d=1", "-f", "lavfi",
                            "-i", "sine=d=1", "-c:v", "flv1", "-c:a", "libmp3lame", "-ar", "22050",
                            "-shortest", os.path.join(folder, "clip.flv")],
                   check=True)
    return True


class SiteBuilder:
    """Builds sites with trovecart-cli from a shipped template and a shop document."""

    def __init__(self, cli, templates, workdir):
        self.cli = cli
        self.templates = templates
        self.workdir = workdir

    def build(self, name, document, template="ClassicBlue", files=None, prefix=""):
        """Returns the site folder; files maps paths below the shop folder to their bytes."""
        work = os.path.join(self.workdir, name + "-work")
        shutil.copytree(os.path.join(self.templates, template), work)
        os.remove(os.path.join(work, "Thumb.png"))
        with open(os.path.join(work, "shop.xml"), "wb") as handle:
            handle.write(document)
        for relative, data in (files or {}).items():
            os.makedirs(os.path.dirname(os.path.join(work, relative)), exist_ok=True)
            with open(os.path.join(work, relative), "wb") as handle:
                handle.write(data)
        project = os.path.join(self.workdir, name + ".scp")
        with zipfile.ZipFile(project, "w") as archive:
            for folder, _, names in os.walk(work):
                for file_name in names:
                    path = os.path.join(folder, file_name)
                    archive.write(path, os.path.relpath(path, work))
        site = os.path.join(self.workdir, name)
        environment = dict(os.environ, XDG_DATA_HOME=os.path.join(self.workdir, "data"))
        command = [self.cli, "build", project, site] + (["--prefix", prefix] if prefix else [])
        subprocess.run(command, env=environment, check=True, stdout=subprocess.DEVNULL, timeout=120)
        return site
