// Runs in every frame of every page the engine loads, in a world of its own so that a site's scripts
// cannot see or disturb it. It reports each frame's navigation and load to the engine, and with each load
// a copy of the top-level page's document model (forms, links, frames, body text). Every form, control,
// option and link in a copy carries a handle: the engine's writes reach that very node later, however the
// page's scripts have rearranged the document in between. Each frame, of whatever origin, also reports its
// own displayed text whenever the page's scripts change it, and the requests of the page's scripts as they
// end, so that the engine can watch for an answer that comes without a load.
(function () {
    const token = "@TOKEN@";
    // Read from the same clock as the engine's, at the moment this document was made.
    const created = Date.now();
    const isTop = window === window.top;

    // The top-level document keeps the handles of every node it has described, its own frames' included.
    // Its id travels with every report, so that the engine can tell this page's frames from those of a
    // page it has left.
    if (isTop) {
        window.__zelkoraPage = {
            id: created.toString(36) + "-" + Math.random().toString(36).slice(2),
            handles: new Map(),
            next: 1,
        };
    }
    window.__zelkoraState = "loading";

    function topPage() {
        try {
            return window.top.__zelkoraPage || null;
        } catch (e) {
            return null; // the top page is of another origin
        }
    }

    @FRAME_PATH@

    function handle(page, node) {
        const id = page.next++;
        page.handles.set(id, node);
        return id;
    }

    // The name a form or a link may give as its target to send its page into this frame.
    function frameName(d, w) {
        for (const element of d.querySelectorAll("frame, iframe")) {
            if (element.contentWindow === w)
                return element.getAttribute("name") || "";
        }
        return "";
    }

    function snapshot(d, page) {
        const base = d.querySelector("base[target]");
        const baseTarget = base ? base.getAttribute("target") : "";
        const forms = [];
        for (const f of d.forms) {
            const elements = [];
            for (const e of f.elements) {
                const item = {
                    node: handle(page, e),
                    name: e.getAttribute("name") || "",
                    tag: e.tagName,
                    value: "value" in e ? String(e.value) : "",
                };
                if (e.tagName === "SELECT")
                    item.options = Array.from(e.options, o => ({ node: handle(page, o), text: o.text }));
                elements.push(item);
            }
            forms.push({ node: handle(page, f), name: f.getAttribute("name") || "", elements: elements,
                         target: f.getAttribute("target") || baseTarget });
        }
        const links = Array.from(d.links, a => ({ node: handle(page, a), href: a.href,
                                                  target: a.getAttribute("target") || baseTarget }));
        const frames = [];
        const view = d.defaultView;
        if (view) {
            for (let i = 0; i < view.frames.length; ++i) {
                const name = frameName(d, view.frames[i]);
                try {
                    const fd = view.frames[i].document;
                    frames.push(Object.assign(fd ? snapshot(fd, page) : { missing: true }, { frameName: name }));
                } catch (e) {
                    frames.push({ denied: true, frameName: name });
                }
            }
        }
        const body = d.body;
        const text = body && body.tagName !== "FRAMESET" ? body.innerText : null;
        return { url: d.URL, forms: forms, links: links, frames: frames, body: text };
    }

    // The HTTP status this document came with, where the browser tells it (newer engines do); 0 otherwise.
    function responseStatus() {
        try {
            const entry = performance.getEntriesByType("navigation")[0];
            return entry && typeof entry.responseStatus === "number" ? entry.responseStatus : 0;
        } catch (e) {
            return 0;
        }
    }

    function report(kind, extra) {
        const page = topPage();
        const message = { kind: kind, frame: framePath(window), url: location.href, created: created,
                          page: page ? page.id : null };
        console.log(token + JSON.stringify(Object.assign(message, extra)));
    }

    // A frame that has finished loading but not yet reported; its report comes before its parent's.
    function framesPending() {
        for (let i = 0; i < window.frames.length; ++i) {
            try {
                const frame = window.frames[i];
                if (frame.__zelkoraState === "loading" && frame.document.readyState === "complete")
                    return true;
            } catch (e) {
                // A frame of another origin reports on its own.
            }
        }
        return false;
    }

    // The referrer tells a load that a page's own script or form started from one the engine asked for.
    report("navigate", { referrer: document.referrer });

    // This frame's own displayed text (a frameset has none: its frames report theirs).
    function ownText() {
        const body = document.body;
        return body && body.tagName !== "FRAMESET" ? body.innerText : null;
    }

    // The text as the engine last heard it; a change is told at most every 100 ms, and at once when the
    // document is about to be left, so that a verdict shown for a moment is not lost.
    let toldText = null;
    let textTimer = 0;
    function tellText() {
        textTimer = 0;
        const text = ownText();
        if (text === null || text === toldText)
            return;
        toldText = text;
        report("text", { text: text });
    }
    function textMayHaveChanged() {
        if (!textTimer)
            textTimer = setTimeout(tellText, 100);
    }
    document.addEventListener("DOMContentLoaded", function () {
        tellText();
        new MutationObserver(textMayHaveChanged).observe(document.documentElement,
            { subtree: true, childList: true, characterData: true, attributes: true });
    });
    window.addEventListener("pagehide", function () {
        clearTimeout(textTimer);
        tellText();
    });

    // The page's scripts' requests as they end; the engine saw them start.
    try {
        new PerformanceObserver(function (list) {
            for (const entry of list.getEntries()) {
                if (entry.initiatorType === "fetch" || entry.initiatorType === "xmlhttprequest")
                    report("request", { request: entry.name });
            }
        }).observe({ type: "resource" });
    } catch (e) {
        // Without resource timing, a request counts as under way until the attempt's time-out.
    }

    window.addEventListener("load", function () {
        // This listener was added before any of the page's, so the page's own load handlers (listeners,
        // body onload, window.onload) run after it. The report waits for them, for what they left to run at
        // once (a zero-delay timer that fills in the site's defaults: one more turn lets it run first, so
        // that it cannot overwrite the engine's values or add a field after the form was sent), and for
        // this window's frames.
        let waits = 0;
        let turned = false;
        const settled = function () {
            if (!turned || (framesPending() && waits++ < 20)) {
                turned = true;
                setTimeout(settled, 0);
                return;
            }
            window.__zelkoraState = "loaded";
            let copy = null;
            const page = topPage();
            try {
                copy = page ? snapshot(window.top.document, page) : null;
            } catch (e) {
                // The engine takes the copy itself.
            }
            toldText = ownText();
            report("document", { copy: copy, status: responseStatus(), text: toldText });
        };
        setTimeout(settled, 0);
    });

    if (!isTop)
        return;

    window.__zelkoraSnapshot = function () {
        return JSON.stringify(snapshot(document, window.__zelkoraPage));
    };

    // Plays the engine's writes back into the nodes its copies named. A node that the page has removed
    // since, or whose document has been replaced, is missing: nothing is done to it. Returns what could not
    // be done, one text per step.
    window.__zelkoraApply = function (steps) {
        const page = window.__zelkoraPage;
        const failures = [];
        for (const step of steps) {
            const node = page.handles.get(step.node);
            if (!node || !node.isConnected || !node.ownerDocument.defaultView) {
                failures.push(step.what + ": no longer on the page");
                continue;
            }
            try {
                if (step.op === "value")
                    node.value = step.value;
                else if (step.op === "select")
                    node.selected = step.value;
                else if (step.op === "click")
                    node.click();
                else if (step.op === "submit")
                    // The prototype's method, so that a control named "submit" cannot hide it.
                    HTMLFormElement.prototype.submit.call(node);
            } catch (e) {
                failures.push(step.what + ": " + e);
            }
        }
        return failures;
    };
})();
