#!/usr/bin/env python3
"""Writes the Anki packages the word import tests read into OUTDIR: a package of a recent
Anki version (the collection compressed by the zstd tool, beside a meta entry and the
collection older versions get, which asks to update), and damaged and hostile ones.
The collections are SQLite made by Python's sqlite3; zstd compresses, zipfile packs.
    make_packages.py OUTDIR
"""
import os
import sqlite3
import struct
import subprocess
import sys
import zipfile

out = sys.argv[1]
NOTES_TABLE = """CREATE TABLE notes (id integer primary key, guid text not null,
    mid integer not null, mod integer not null, usn integer not null, tags text not null,
    flds text not null, sfld integer not null, csum integer not null, flags integer not null,
    data text not null)"""


def collection(path, notes):
    """An Anki collection's notes table holding notes, each a list of fields."""
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute(NOTES_TABLE)
    for i, fields in enumerate(notes):
        db.execute("INSERT INTO notes VALUES (?, ?, 1, 0, -1, '', ?, ?, 0, 0, '')",
                   (1700000000000 + i, "g%d" % i, "\x1f".join(fields), fields[0]))
    db.commit()
    db.close()
    with open(path, "rb") as f:
        return f.read()


def zstd(data, *args):
    return subprocess.run(["zstd", "-q", "-c", *args], input=data, check=True,
                          stdout=subprocess.PIPE).stdout


def package(name, entries):
    with zipfile.ZipFile(os.path.join(out, name), "w", zipfile.ZIP_DEFLATED) as z:
        for entry, data in entries:
            z.writestr(zipfile.ZipInfo(entry), data, zipfile.ZIP_DEFLATED)


scratch = os.path.join(out, "scratch.db")
dummy = collection(scratch, [["Please update to the latest Anki version, then import the "
                              ".colpkg/.apkg file again.", ""]])
recent = collection(scratch, [
    ["der Hund", "the dog<br>(pl. die Hunde)"],
    ["<b>das</b> Haus&nbsp;[sound:haus.mp3]", "the house <img src=\"haus.jpg\">"],
    ["{{c1::laufen::verb}}", "to run &amp; to walk &#x2192; &quot;go&quot;"],
    ["der Hund", "a second meaning of the same word"],
    ["leer", ""],
])
meta = b"\x08\x03"  # the package's version, 3: the collection is compressed
package("recent.apkg", [("collection.anki2", dummy), ("collection.anki21b", zstd(recent)),
                        ("meta", meta), ("media", zstd(b""))])
# Versions before it packed the collection as collection.anki21 beside the notice.
package("legacy.apkg", [("collection.anki2", dummy),
                        ("collection.anki21", collection(scratch, [["Baum", "tree"]]))])
package("update-notice.apkg", [("collection.anki2", dummy), ("meta", meta)])
package("no-notes.apkg", [("collection.anki2", collection(scratch, []))])
package("not-sqlite.apkg", [("collection.anki21", b"SQLite format 2\0" + b"x" * 4000)])
package("not-zstd.apkg", [("collection.anki21b", b"(\xb5/\xfd" + b"garbage" * 100)])
package("cut-zstd.apkg", [("collection.anki21b", zstd(recent)[:-200])])
package("climbing.apkg", [("collection.anki2", recent), ("../../.profile", b"evil")])
package("absolute.apkg", [("collection.anki2", recent), ("/etc/cron.d/evil", b"evil")])
package("no-collection.apkg", [("notes.txt", b"hello")])
with open(os.path.join(out, "recent.apkg"), "rb") as f:
    whole = f.read()
with open(os.path.join(out, "cut-short.apkg"), "wb") as f:
    f.write(whole[: len(whole) // 2])
with open(os.path.join(out, "not-a-zip.apkg"), "wb") as f:
    f.write(b"der Hund - the dog\r\n")
os.remove(scratch)

# Zip bombs: 300 MB of zeros, once with its true size in the headers, once with headers that
# claim 1,000 bytes, and as a zstd frame that declares no size.
zeros = b"\0" * (1024 * 1024)
with zipfile.ZipFile(os.path.join(out, "bomb.apkg"), "w", zipfile.ZIP_DEFLATED) as z:
    with z.open("collection.anki2", "w") as entry:
        for _ in range(300):
            entry.write(zeros)
with open(os.path.join(out, "bomb.apkg"), "rb") as f:
    bomb = bytearray(f.read())
struct.pack_into("<I", bomb, 22, 1000)  # the local header's size
central = bomb.rfind(b"PK\x01\x02")
struct.pack_into("<I", bomb, central + 24, 1000)  # the central directory's
with open(os.path.join(out, "lying-bomb.apkg"), "wb") as f:
    f.write(bomb)
stream = subprocess.run("head -c 300M /dev/zero | zstd -q -c", shell=True, check=True,
                        stdout=subprocess.PIPE).stdout
package("zstd-bomb.apkg", [("collection.anki21b", stream), ("meta", meta)])
