#!/usr/bin/env python3
"""Pages for the web-page benchmark, in the shapes real sites have, and a server for them on 127.0.0.1.

  pages.py make FOLDER COUNT   writes COUNT pages (and their style sheets, scripts and pictures) and
                               FOLDER/addresses.txt with one path per line
  pages.py serve FOLDER PORT   serves FOLDER; a page named *.big5.html is sent as Big5 by its header alone

Like real sites, the pages also load what is slow to come: an advertising frame and a statistics script
that the server answers after 1.5 s (/slow/...), and on every eleventh page a script that never comes
(/hang/..., held open for a minute), so that the page never finishes loading.

The pages cycle through six kinds: a news article with navigation, side bar, pictures, a web font, an
advertising frame and a script that adds a box after the page loaded; a documentation page with code in
<pre> and tables; a standards draft laid out in one <pre> with headings inside; a GBK portal page
declared by its meta tag; a Big5 article declared only by the HTTP header; a short three-paragraph item.
"""
import http.server
import os
import random
import socketserver
import sys
import time

WORDS = ("river survey bank water spring summer teams report village meadow mill flood bird tree "
         "stretch notes autumn maps photographs published checked council budget school bridge road "
         "station market harbour festival library museum garden").split()
HANZI = "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经"


def sentence(rng, words=None):
    n = rng.randint(8, 22)
    text = " ".join(rng.choice(WORDS) for _ in range(n))
    return text.capitalize() + "."


def paragraph(rng, sentences=(3, 7)):
    return " ".join(sentence(rng) for _ in range(rng.randint(*sentences)))


def hanzi(rng, n):
    return "".join(rng.choice(HANZI) for _ in range(n)) + "。"


def chrome(rng, title, body, head_extra="", hang=False):
    nav = " | ".join(f'<a href="/section/{w}">{w.title()}</a>' for w in rng.sample(WORDS, 12))
    side = "".join(f'<li><a href="/story/{rng.randint(1, 9999)}">{sentence(rng)}</a></li>' for _ in range(10))
    return f"""<!DOCTYPE html><html><head><meta charset="utf-8"><title>{title}</title>
<link rel="stylesheet" href="/site.css"><script src="/site.js" defer></script>
<link rel="icon" href="/favicon.png"><script async src="/slow/stats.js"></script>{head_extra}
{'<script async src="/hang/stats.js"></script>' if hang else ''}</head><body>
<header><div class="logo"><img src="/pictures/logo.png" alt="Daily"></div><nav>{nav}</nav></header>
<div class="cookie">We use cookies to improve your experience. <button>Accept</button></div>
<main>{body}</main>
<aside><h3>Most read</h3><ul>{side}</ul><iframe src="/slow/advert.html" width="300" height="250"></iframe></aside>
<footer><p>Copyright the Daily. All rights reserved.</p><p>{" | ".join(rng.sample(WORDS, 8))}</p></footer>
</body></html>"""


def news(rng, i):
    title = f"Story {i}: " + " ".join(rng.sample(WORDS, 5)).title()
    parts = [f"<h1>{title}</h1><p class=byline>By a reporter</p>"]
    for k in range(rng.randint(6, 14)):
        parts.append(f"<p>{paragraph(rng)}</p>")
        if k % 3 == 1:
            parts.append(f'<figure><img src="/pictures/p{i}-{k}.jpg" width="640" height="360">'
                         f"<figcaption>{sentence(rng)}</figcaption></figure>")
    return chrome(rng, title, "<article>" + "".join(parts) + "</article>", hang=i % 11 == 0)


def documentation(rng, i):
    title = f"Guide {i}: configuring the " + rng.choice(WORDS)
    parts = [f"<h1>{title}</h1><p>{paragraph(rng)}</p>"]
    for k in range(rng.randint(3, 6)):
        code = "\n".join(f"    {rng.choice(WORDS)}_{n} = {rng.randint(0, 99)}  # {rng.choice(WORDS)}"
                         for n in range(rng.randint(4, 12)))
        rows = "".join(f"<tr><td><code>{rng.choice(WORDS)}</code></td><td>{sentence(rng)}</td></tr>"
                       for _ in range(rng.randint(3, 8)))
        parts.append(f"<h2>Step {k + 1}</h2><p>{paragraph(rng, (2, 4))}</p><pre><code>{code}\n</code></pre>"
                     f"<table><tr><th>Option</th><th>Meaning</th></tr>{rows}</table>"
                     f"<ul><li>{sentence(rng)}<ul><li>{sentence(rng)}</li></ul></li><li>{sentence(rng)}</li></ul>")
    return chrome(rng, title, "<div class=content>" + "".join(parts) + "</div>")


def draft(rng, i):
    lines = []
    for k in range(rng.randint(5, 9)):
        lines.append(f'<span class="h2"><h2>{k + 1}.  {" ".join(rng.sample(WORDS, 3)).title()}</h2></span>')
        for _ in range(rng.randint(2, 4)):
            words = paragraph(rng, (2, 4)).split()
            line, out = "   ", []
            for w in words:
                if len(line) + len(w) > 72:
                    out.append(line)
                    line = "   "
                line += w + " "
            out.append(line)
            lines.append("\n".join(out) + "\n")
    title = f"Draft {i}: " + " ".join(rng.sample(WORDS, 4)).title()
    return (f'<!DOCTYPE html><html><head><meta charset="utf-8"><title>{title}</title></head><body>'
            f'<pre>Network Working Group                                   Draft {i}\n\n{title}\n\n'
            + "\n".join(lines) + "</pre></body></html>")


def portal_gbk(rng, i):
    links = "".join(f'<li><a href="/n/{n}">{hanzi(rng, rng.randint(8, 16))}</a></li>' for n in range(40))
    body = "".join(f"<p>{hanzi(rng, rng.randint(60, 160))}</p>" for _ in range(rng.randint(5, 10)))
    page = (f'<!DOCTYPE html><html><head><meta http-equiv="Content-Type" content="text/html; charset=gbk">'
            f"<title>新闻 {i}</title></head><body><div class=nav><ul>{links}</ul></div>"
            f"<div class=article><h1>新闻标题 {i}</h1>{body}</div><div class=foot>版权所有</div></body></html>")
    return page.encode("gbk")


def article_big5(rng, i):
    body = "".join(f"<p>{hanzi(rng, rng.randint(60, 160))}</p>" for _ in range(rng.randint(5, 10)))
    page = (f"<!DOCTYPE html><html><head><title>新聞 {i}</title></head><body>"
            f"<article><h1>新聞 {i}</h1>{body}</article></body></html>")
    return page.encode("big5", errors="replace")


def short(rng, i):
    title = f"Brief {i}"
    body = "".join(f"<p>{paragraph(rng, (1, 2))}</p>" for _ in range(3))
    return chrome(rng, title, f"<article><h1>{title}</h1>{body}</article>")


KINDS = [("news", news), ("guide", documentation), ("draft", draft), ("portal", portal_gbk),
         ("big5", article_big5), ("brief", short)]

SITE_JS = """document.addEventListener('DOMContentLoaded', function () {
  setTimeout(function () {
    var box = document.createElement('div');
    box.className = 'related';
    box.textContent = 'Related: more stories from the Daily';
    (document.querySelector('aside') || document.body).appendChild(box);
  }, 50);
});"""
SITE_CSS = """@font-face { font-family: Serif1; src: url(/fonts/serif.woff2); }
body { font-family: Serif1, serif; max-width: 60em; margin: auto; } aside { float: right; width: 300px; }"""


def make(folder, count):
    rng = random.Random(23)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "site.js"), "w") as f:
        f.write(SITE_JS)
    with open(os.path.join(folder, "site.css"), "w") as f:
        f.write(SITE_CSS)
    with open(os.path.join(folder, "stats.js"), "w") as f:
        f.write("window.stats = 1;")
    with open(os.path.join(folder, "advert.html"), "w") as f:
        f.write("<html><body><img src='/pictures/advert.gif'><script>var x=0;for(var i=0;i<1e6;++i)x+=i;"
                "</script></body></html>")
    pictures = os.path.join(folder, "pictures")
    os.makedirs(pictures, exist_ok=True)
    os.makedirs(os.path.join(folder, "fonts"), exist_ok=True)
    with open(os.path.join(folder, "fonts", "serif.woff2"), "wb") as f:
        f.write(os.urandom(60000))
    addresses = []
    for i in range(count):
        name, kind = KINDS[i % len(KINDS)]
        page = kind(rng, i)
        file = f"{name}-{i}.big5.html" if name == "big5" else f"{name}-{i}.html"
        with open(os.path.join(folder, file), "wb") as f:
            f.write(page if isinstance(page, bytes) else page.encode("utf-8"))
        if name == "news":
            for k in range(14):  # as many as any page names
                with open(os.path.join(pictures, f"p{i}-{k}.jpg"), "wb") as f:
                    f.write(os.urandom(120000))
        addresses.append("/" + file)
    with open(os.path.join(folder, "addresses.txt"), "w") as f:
        f.write("\n".join(addresses) + "\n")


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/slow/"):
            time.sleep(1.5)
            self.path = self.path[len("/slow"):]
        elif self.path.startswith("/hang/"):
            time.sleep(60)
            self.send_error(404)
            return
        super().do_GET()

    def guess_type(self, path):
        if path.endswith(".big5.html"):
            return "text/html; charset=big5"
        return super().guess_type(path)

    def log_message(self, *args):
        pass


def serve(folder, port):
    os.chdir(folder)
    socketserver.ThreadingTCPServer.allow_reuse_address = True
    with socketserver.ThreadingTCPServer(("127.0.0.1", port), Handler) as server:
        server.daemon_threads = True
        server.serve_forever()


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "make":
        make(sys.argv[2], int(sys.argv[3]))
    elif len(sys.argv) == 4 and sys.argv[1] == "serve":
        serve(sys.argv[2], int(sys.argv[3]))
    else:
        sys.exit(__doc__)
