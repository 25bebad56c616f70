#!/usr/bin/env python3
"""Writes a bilingual .docx of PARAGRAPHS paragraphs as translators' bilingual documents are laid out: an
English source paragraph, a hard return, its Chinese target paragraph. Lengths vary from a few words to
several sentences, with English terms in the Chinese; one pair in seven has a soft return inside, one in fifty is a two-column table row of
source and target; a paragraph BEGIN before every twenty pairs and END after the first ten of them. The text is drawn from a fixed seed, so a size gives the same document every time.

Usage: make_bilingual.py PARAGRAPHS OUTPUT.docx
"""
import random
import sys
import zipfile
from xml.sax.saxutils import escape

ENGLISH = ("the protein sample was measured at room temperature and the results were compared with "
           "those of the control group over three weeks while PCR and COVID-19 tests ran 2024 version "
           "5.1 of the method gave 37.5 percent more signal than expected").split()
CHINESE = "蛋白质样品在室温下测量并将结果与对照组在三周内的结果进行比较同时进行检测该方法的第版比预期多出百分之的信号"

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"


def english(rng):
    words = [rng.choice(ENGLISH) for _ in range(rng.choice((3, 8, 15, 30, 60)))]
    # Now and then a numbered tag of a translation tool (option 10 removes them).
    if rng.random() < 0.1:
        words.insert(len(words) // 2, "{%d}" % rng.randint(1, 30))
    return " ".join(words).capitalize() + "."


def chinese(rng):
    count = rng.choice((6, 15, 30, 60, 120))
    # Terms left in English inside the Chinese, as targets have them.
    return "".join(rng.choice(CHINESE) + ("PCR" if k % 23 == 11 else "") for k in range(count)) + "。"


def run(text):
    return '<w:r><w:t xml:space="preserve">%s</w:t></w:r>' % escape(text)


def paragraph(text, soft_return_at=None):
    if soft_return_at is None:
        return "<w:p>%s</w:p>" % run(text)
    return "<w:p>%s<w:r><w:br/></w:r>%s</w:p>" % (run(text[:soft_return_at]), run(text[soft_return_at:]))


def cell(text):
    return '<w:tc><w:tcPr><w:tcW w:w="4500" w:type="dxa"/></w:tcPr>%s</w:tc>' % paragraph(text)


def body(paragraphs, rng):
    parts = []
    made = 0
    pair = 0
    while made < paragraphs:
        source, target = english(rng), chinese(rng)
        # Marker paragraphs for filtering (option 8): half the pairs lie between a BEGIN and an END.
        if pair % 20 == 0:
            parts.append(paragraph("BEGIN"))
        elif pair % 20 == 10:
            parts.append(paragraph("END"))
        if pair % 50 == 49:
            parts.append('<w:tbl><w:tblPr><w:tblW w:w="0" w:type="auto"/></w:tblPr>'
                         '<w:tblGrid><w:gridCol w:w="4500"/><w:gridCol w:w="4500"/></w:tblGrid>'
                         "<w:tr>%s%s</w:tr></w:tbl>" % (cell(source), cell(target)))
        else:
            soft = len(source) // 2 if pair % 7 == 3 else None
            parts.append(paragraph(source, soft))
            parts.append(paragraph(target))
        made += 2
        pair += 1
    return "".join(parts)


def main():
    paragraphs, output = int(sys.argv[1]), sys.argv[2]
    rng = random.Random(paragraphs)
    document = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                '<w:document xmlns:w="%s"><w:body>%s<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>'
                "</w:sectPr></w:body></w:document>" % (W, body(paragraphs, rng)))
    content_types = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                     '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                     '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                     '<Default Extension="xml" ContentType="application/xml"/>'
                     '<Override PartName="/word/document.xml" ContentType="application/'
                     'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    relationships = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                     '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                     '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                     'relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    with zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as package:
        package.writestr("[Content_Types].xml", content_types)
        package.writestr("_rels/.rels", relationships)
        package.writestr("word/document.xml", document)


if __name__ == "__main__":
    main()
