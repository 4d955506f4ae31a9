#!/usr/bin/python3
"""Turns the user's guide (Markdown) into the one HTML page that ships in
Varolen\\Docs: pictures embedded, so the page reads the same wherever it lies.

usage: make_guide.py GUIDE.md OUTPUT.html VERSION"""

import base64
import re
import sys
from pathlib import Path

import markdown

STYLE = """
body { font-family: Tahoma, Verdana, sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em;
       line-height: 1.45; color: #222; }
h1, h2, h3 { color: #134; }
h2 { border-bottom: 1px solid #bcd; padding-bottom: .2em; margin-top: 2em; }
code, pre { font-family: Consolas, "Courier New", monospace; background: #f3f5f7; }
pre { padding: .6em .8em; overflow-x: auto; }
table { border-collapse: collapse; margin: .8em 0; }
th, td { border: 1px solid #ccd; padding: .25em .6em; text-align: left; vertical-align: top; }
th { background: #e8eef4; }
img { max-width: 100%; border: 1px solid #ccc; }
"""


def embed_pictures(html, folder):
    def data_uri(match):
        picture = folder / match.group(2)
        encoded = base64.b64encode(picture.read_bytes()).decode("ascii")
        return f'{match.group(1)}"data:image/png;base64,{encoded}"'
    return re.sub(r'(<img [^>]*src=)"([^":]+\.png)"', data_uri, html)


def main(source, target, version):
    source = Path(source)
    text = source.read_text(encoding="utf-8")
    body = markdown.markdown(text, extensions=["tables", "fenced_code", "toc"], output_format="html5")
    title = re.search(r"<h1[^>]*>(.*?)</h1>", body).group(1)
    page = (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n<title>{title}</title>\n'
            f"<style>{STYLE}</style>\n</head>\n<body>\n{embed_pictures(body, source.parent)}\n"
            f"<hr>\n<p><small>This guide comes with Varolen 2004 version {version}.</small></p>\n</body>\n</html>\n")
    Path(target).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main(*sys.argv[1:4])
