#!/usr/bin/env python3
"""Builds one document the setup program installs or shows.

  build_document.py <source> <output> [--style <css>] [--charts <html>] [--crlf]

A web page gets the stylesheet in place of <!--style--> and the layout charts
in place of <!--charts-->; both markers must be filled when present. --crlf
writes a text with CR LF line ends, the only line break a Windows edit
control shows.
"""
import argparse
import sys
from pathlib import Path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("output")
    parser.add_argument("--style")
    parser.add_argument("--charts")
    parser.add_argument("--crlf", action="store_true")
    args = parser.parse_args()

    text = Path(args.source).read_text(encoding="utf-8")
    for marker, path in (("<!--style-->", args.style), ("<!--charts-->", args.charts)):
        if marker in text:
            if path is None:
                sys.exit(f"{args.source}: {marker} needs its file")
            text = text.replace(marker, Path(path).read_text(encoding="utf-8").strip())
    if args.crlf:
        text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    Path(args.output).write_bytes(text.encode("utf-8"))


if __name__ == "__main__":
    main()
