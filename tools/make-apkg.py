#!/usr/bin/python3
"""Writes a small Anki package the way Anki 2.1 lays one out, for the
real-window run: a zip holding "collection.anki2" (a SQLite collection with
the tables col, notes and cards, the note type's fields in col.models, the
fields of a note joined by 0x1f), the media file under the number 0 and the
"media" map from numbers to names.

    make-apkg.py OUT.apkg SOUND.wav

The first note's word carries [sound:<name of SOUND.wav>].
"""
import json
import os
import sqlite3
import sys
import tempfile
import zipfile

NOTES = [
    ("horse", "лошадь"), ("cow", "корова"), ("pig", "свинья"), ("dog", "собака"),
    ("cat", "кошка"), ("hen", "курица"), ("goat", "коза"),
]


def collection(path, sound):
    db = sqlite3.connect(path)
    db.executescript("""
        CREATE TABLE col (id integer primary key, crt integer not null, mod integer not null,
            scm integer not null, ver integer not null, dty integer not null, usn integer not null,
            ls integer not null, conf text not null, models text not null, decks text not null,
            dconf text not null, tags text not null);
        CREATE TABLE notes (id integer primary key, guid text not null, mid integer not null,
            mod integer not null, usn integer not null, tags text not null, flds text not null,
            sfld integer not null, csum integer not null, flags integer not null, data text not null);
        CREATE TABLE cards (id integer primary key, nid integer not null, did integer not null,
            ord integer not null, mod integer not null, usn integer not null, type integer not null,
            queue integer not null, due integer not null, ivl integer not null, factor integer not null,
            reps integer not null, lapses integer not null, left integer not null, odue integer not null,
            odid integer not null, flags integer not null, data text not null);
    """)
    model_id = 1342697561419
    models = {str(model_id): {
        "id": model_id, "name": "Basic", "type": 0, "did": 1,
        "flds": [{"name": "Front", "ord": 0}, {"name": "Back", "ord": 1}],
        "tmpls": [{"name": "Card 1", "ord": 0, "qfmt": "{{Front}}", "afmt": "{{Back}}"}],
    }}
    decks = {"1": {"id": 1, "name": "Default"}}
    db.execute("INSERT INTO col VALUES (1, 0, 0, 0, 11, 0, 0, 0, '{}', ?, ?, '{}', '{}')",
               (json.dumps(models), json.dumps(decks)))
    for i, (word, translation) in enumerate(NOTES):
        front = f"{word}[sound:{sound}]" if i == 0 else f"<b>{word}</b>"
        note_id = 1500000000000 + i
        db.execute("INSERT INTO notes VALUES (?, ?, ?, 0, -1, '', ?, ?, 0, 0, '')",
                   (note_id, f"g{i}", model_id, "\x1f".join([front, translation]), word))
        db.execute("INSERT INTO cards VALUES (?, ?, 1, 0, 0, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0, '')",
                   (1600000000000 + i, note_id, i))
    db.commit()
    db.close()


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    out, sound = argv[1], argv[2]
    name = os.path.basename(sound)
    with tempfile.TemporaryDirectory() as folder:
        db = os.path.join(folder, "collection.anki2")
        collection(db, name)
        with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as package:
            package.write(db, "collection.anki2")
            package.writestr("media", json.dumps({"0": name}))
            package.write(sound, "0")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
