#!/usr/bin/env python3
"""Every relative link and image of the README and the pages under docs/
names a file or folder of the repository (anchors and web addresses are
left alone). Prints each broken one and exits 1 when there is one.

    check-links.py ROOT
"""
import os
import re
import sys

LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")


def main():
    root = sys.argv[1]
    pages = [os.path.join(root, "README.md")]
    for folder, _, files in os.walk(os.path.join(root, "docs")):
        pages += [os.path.join(folder, f) for f in files if f.endswith(".md")]
    broken, checked = [], 0
    for page in pages:
        with open(page, encoding="utf-8") as f:
            text = f.read()
        # Code blocks hold commands, not links.
        text = re.sub(r"```.*?```", "", text, flags=re.S)
        for target in LINK.findall(text):
            if re.match(r"^[a-z]+:", target) or target.startswith("#"):
                continue
            checked += 1
            path = os.path.normpath(os.path.join(os.path.dirname(page), target.split("#")[0]))
            if not os.path.exists(path):
                broken.append("%s: %s" % (os.path.relpath(page, root), target))
    for line in broken:
        print("check-links: broken: %s" % line)
    print("check-links: %d links checked in %d pages, %d broken" % (checked, len(pages), len(broken)))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
