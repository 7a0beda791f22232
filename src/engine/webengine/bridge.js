// Runs in every frame of every page the engine loads, in a world of its own so that a site's scripts
// cannot see or disturb it. It reports each frame's navigation and load to the engine, and with each load
// a copy of the page's document model (forms, links, frames, body text).
(function () {
    const token = "@TOKEN@";

    function framePath(w) {
        const path = [];
        while (w !== w.parent) {
            const parent = w.parent;
            let i = 0;
            const n = parent.frames.length;
            while (i < n && parent.frames[i] !== w)
                ++i;
            path.unshift(i);
            w = parent;
        }
        return path;
    }

    function snapshot(d) {
        const forms = [];
        for (const f of d.forms) {
            const elements = [];
            for (const e of f.elements) {
                const item = { n: e.getAttribute("name") || "", t: e.tagName, v: "value" in e ? String(e.value) : "" };
                if (e.tagName === "SELECT")
                    item.o = Array.from(e.options, o => o.text);
                elements.push(item);
            }
            forms.push({ n: f.getAttribute("name") || "", e: elements });
        }
        const links = Array.from(d.links, a => a.href);
        const frames = [];
        const view = d.defaultView;
        if (view) {
            for (let i = 0; i < view.frames.length; ++i) {
                try {
                    const fd = view.frames[i].document;
                    frames.push(fd ? snapshot(fd) : null);
                } catch (e) {
                    frames.push({ denied: true });
                }
            }
        }
        const body = d.body;
        const text = body && body.tagName !== "FRAMESET" ? body.innerText : null;
        return { u: d.URL, f: forms, l: links, fr: frames, b: text };
    }

    function report(kind, extra) {
        const message = { k: kind, p: framePath(window), u: location.href, t: performance.timeOrigin };
        console.log(token + JSON.stringify(Object.assign(message, extra)));
    }

    report("nav", {});
    window.addEventListener("load", function () {
        let top = null;
        try {
            top = snapshot(window.top.document);
        } catch (e) {
            // The top page is of another origin; the engine takes the copy itself.
        }
        report("doc", { s: top });
    });
    window.__zelkoraSnapshot = function () { return JSON.stringify(snapshot(document)); };
})();
