// The text of the page shown, as a translator reads it: the article that Readability finds, or the body's
// visible text when it finds none. Runs in the page's application world after Readability.js; returns
// { title, text, article } with the lines of the text separated by "\n".
//
// The article is walked node by node in document order, so that every text node comes out once: a line
// ends at each block boundary (paragraph, heading, list item, cell, line break ...) whether the block holds
// other blocks or text beside them. Preformatted text keeps its line breaks and spaces. A table whose
// cells hold no other table is laid out one row per line, its cells separated by a tab; inside such a
// cell, block boundaries become spaces so that the row stays one line.
(function () {
  "use strict";
  var BLOCK = new Set([
    "ADDRESS", "ARTICLE", "ASIDE", "BLOCKQUOTE", "CAPTION", "CENTER", "DD", "DETAILS", "DIALOG", "DIR",
    "DIV", "DL", "DT", "FIELDSET", "FIGCAPTION", "FIGURE", "FOOTER", "FORM", "H1", "H2", "H3", "H4", "H5",
    "H6", "HEADER", "HGROUP", "HR", "LEGEND", "LI", "LISTING", "MAIN", "MENU", "NAV", "OL", "P", "PLAINTEXT",
    "PRE", "SECTION", "SUMMARY", "TABLE", "TBODY", "TD", "TFOOT", "TH", "THEAD", "TR", "UL", "XMP"
  ]);
  var SKIPPED = new Set([
    "SCRIPT", "STYLE", "NOSCRIPT", "TEMPLATE", "HEAD", "TITLE", "IFRAME", "OBJECT", "EMBED", "CANVAS",
    "VIDEO", "AUDIO", "SVG", "MATH", "SELECT", "TEXTAREA", "BUTTON"
  ]);
  var PREFORMATTED = new Set(["PRE", "LISTING", "XMP", "PLAINTEXT", "TEXTAREA"]);

  function Lines() {
    this.lines = [];
    this.line = "";
    this.afterBreak = true;  // at a block boundary: a line feed that follows in preformatted text is its
  }                          // own, not a second one
  Lines.prototype.end = function () {
    var line = this.line.replace(/ +$/, "");
    if (line) this.lines.push(line);
    this.line = "";
    this.afterBreak = true;
  };
  Lines.prototype.add = function (text) {
    if (!text) return;
    if (this.line === "" || /[ \t]$/.test(this.line)) text = text.replace(/^ /, "");
    this.line += text;
    if (text) this.afterBreak = false;
  };
  Lines.prototype.addPreformatted = function (text) {
    var parts = text.split("\n");
    for (var i = 0; i < parts.length; ++i) {
      if (i > 0) {
        if (!(i === 1 && parts[0] === "" && this.afterBreak)) this.lines.push(this.line);
        this.line = "";
        this.afterBreak = false;
      }
      if (parts[i]) {
        this.line += parts[i].replace(/\r/g, "");
        this.afterBreak = false;
      }
    }
  };

  function LayoutRows(table) {
    return !table.querySelector("table");
  }

  // inCell: inside a cell of a table laid out as rows; pre: inside preformatted text.
  function Walk(node, out, inCell, pre) {
    for (var child = node.firstChild; child; child = child.nextSibling) {
      if (child.nodeType === 3) {
        var text = child.data.replace(/\u00a0/g, " ");
        if (pre && !inCell) out.addPreformatted(text);
        else out.add(text.replace(/[ \t\n\r\f]+/g, " "));
        continue;
      }
      if (child.nodeType !== 1) continue;
      var name = child.nodeName.toUpperCase();
      if (SKIPPED.has(name) || child.hidden) continue;
      if (name === "BR") {
        if (inCell) out.add(" ");
        else if (pre) out.addPreformatted("\n");
        else out.end();
        continue;
      }
      if (name === "TABLE" && LayoutRows(child)) {
        out.end();
        WalkRows(child, out);
        out.end();
        continue;
      }
      var block = BLOCK.has(name);
      var childPre = pre || PREFORMATTED.has(name);
      if (block) {
        if (inCell) out.add(" ");
        else out.end();
      }
      Walk(child, out, inCell, childPre);
      if (block) {
        if (inCell) out.add(" ");
        else out.end();
      }
    }
  }

  // One line per row, a tab between cells; a caption on its own line.
  function WalkRows(table, out) {
    var rows = [];
    (function collect(node) {
      for (var child = node.firstChild; child; child = child.nextSibling) {
        if (child.nodeType !== 1) continue;
        var name = child.nodeName.toUpperCase();
        if (name === "TR") rows.push(child);
        else if (name === "CAPTION") {
          Walk(child, out, true, false);
          out.end();
        } else if (name === "THEAD" || name === "TBODY" || name === "TFOOT") collect(child);
      }
    })(table);
    rows.forEach(function (row) {
      var first = true;
      for (var cell = row.firstChild; cell; cell = cell.nextSibling) {
        if (cell.nodeType !== 1) continue;
        var name = cell.nodeName.toUpperCase();
        if (name !== "TD" && name !== "TH") continue;
        if (!first) out.line = out.line.replace(/ +$/, "") + "\t";
        first = false;
        Walk(cell, out, true, false);
      }
      out.end();
    });
  }

  function ArticleText(root) {
    var out = new Lines();
    Walk(root, out, false, false);
    out.end();
    return out.lines;
  }

  // The body's inner text as the browser shows it, without empty lines.
  function VisibleText() {
    if (!document.body) return "";
    return document.body.innerText
      .split("\n")
      .map(function (line) { return line.replace(/[ \t\u00a0\r]+$/, ""); })
      .filter(function (line) { return line.trim() !== ""; })
      .join("\n");
  }

  var result = { title: document.title || "", text: "", article: false };
  try {
    var article = new Readability(document.cloneNode(true), {
      charThreshold: 100,
      maxElemsToParse: 100000,
      serializer: function (element) { return element; }
    }).parse();
    if (article && article.content) {
      if (article.title) result.title = article.title;
      var lines = ArticleText(article.content);
      // The title comes first in the reply already: a heading that repeats it is not said twice.
      if (lines.length && lines[0].trim() === result.title.trim()) lines.shift();
      if (lines.length) {
        result.article = true;
        result.text = lines.join("\n");
      } else {
        result.title = document.title || "";
      }
    }
  } catch (e) {
    result.error = String(e);
  }
  if (!result.article) result.text = VisibleText();
  return result;
})();
