// Watches a demonstration in every frame of every page the teach window shows, in a world of its own, and
// tells the window what the user did that a send will have to do again: the pages that loaded, the fields
// typed into, the control that submitted a form, the text marked on a page. It changes nothing on the page.
(function () {
    const token = "@TOKEN@";
    const created = Date.now();
    const isTop = window === window.top;
    if (isTop)
        window.__zelkoraTeachPage = created.toString(36) + "-" + Math.random().toString(36).slice(2);

    function topPage() {
        try {
            return window.top.__zelkoraTeachPage || null;
        } catch (e) {
            return null; // the top page is of another origin
        }
    }

    function sameOriginAsTop() {
        try {
            return window.top.location.origin === location.origin;
        } catch (e) {
            return false;
        }
    }

    @FRAME_PATH@

    function send(kind, fields) {
        const message = {
            kind: kind,
            frame: framePath(window),
            url: location.href,
            created: created,
            page: topPage(),
            sameOrigin: sameOriginAsTop(),
        };
        console.log(token + JSON.stringify(Object.assign(message, fields)));
    }

    function baseTarget() {
        const base = document.querySelector("base[target]");
        return base ? base.getAttribute("target") : "";
    }

    // The window a form or a link sends its page to, found as a send will find it: its own window, its
    // parent, the top-level window, or the first frame of that name in the page, in document order and depth
    // first. A new window, which no send follows, is given as such.
    function targetOf(target) {
        const keyword = target.toLowerCase();
        let found = null;
        if (target === "" || keyword === "_self")
            found = window;
        else if (keyword === "_top")
            found = window.top;
        else if (keyword === "_parent")
            found = window.parent;
        else if (keyword !== "_blank") {
            const search = function (w) {
                let elements = [];
                try {
                    elements = Array.from(w.document.querySelectorAll("frame, iframe"));
                } catch (e) {
                    // A window of another origin: its frames' names cannot be read from here.
                }
                for (let i = 0; i < w.frames.length; ++i) {
                    const element = elements.find(e => e.contentWindow === w.frames[i]);
                    if (element && element.getAttribute("name") === target)
                        return w.frames[i];
                    const inner = search(w.frames[i]);
                    if (inner)
                        return inner;
                }
                return null;
            };
            found = search(window.top);
        }
        return found ? { path: framePath(found) } : { newWindow: true };
    }

    function formTarget(form) {
        return targetOf(form ? form.getAttribute("target") || baseTarget() : "");
    }

    function formRef(form) {
        if (!form)
            return null;
        return { name: form.getAttribute("name") || "", index: Array.prototype.indexOf.call(document.forms, form) };
    }

    function control(e) {
        const info = {
            name: e.getAttribute("name") || "",
            tag: e.tagName,
            type: (e.getAttribute("type") || "").toLowerCase(),
            value: "value" in e ? String(e.value) : "",
        };
        if (e.tagName === "SELECT") {
            info.options = Array.from(e.options, o => o.text);
            info.selected = e.selectedIndex >= 0 ? e.options[e.selectedIndex].text : "";
        }
        return info;
    }

    function formFields(form) {
        return Array.from(form.elements, control);
    }

    function isField(e) {
        return e && (e.tagName === "INPUT" || e.tagName === "TEXTAREA" || e.tagName === "SELECT");
    }

    // Typing and choosing: the value after each change, with the form it belongs to.
    function onInput(event) {
        const e = event.target;
        if (!event.isTrusted || !isField(e))
            return;
        send("input", { form: formRef(e.form), field: control(e) });
    }
    window.addEventListener("input", onInput, true);
    window.addEventListener("change", onInput, true);

    // A click on a link or on a control: what may submit a form.
    window.addEventListener("click", function (event) {
        if (!event.isTrusted || !(event.target instanceof Element))
            return;
        const link = event.target.closest("a[href]");
        if (link) {
            send("click", { link: link.href, target: targetOf(link.getAttribute("target") || baseTarget()) });
            return;
        }
        const e = event.target.closest("button, input");
        if (e)
            send("click", { control: control(e), form: formRef(e.form), target: formTarget(e.form) });
    }, true);

    // A form submitted by the user (a submit control, or Enter in a field), with the values it carries.
    window.addEventListener("submit", function (event) {
        const form = event.target;
        send("submit", {
            trusted: event.isTrusted,
            form: formRef(form),
            submitter: event.submitter ? control(event.submitter) : null,
            fields: formFields(form),
            target: formTarget(form),
        });
    }, true);

    // Leaving the page. A form that a page's script submits raises no submit event; its values are known
    // from here.
    window.addEventListener("pagehide", function () {
        send("leave", { forms: Array.from(document.forms, f => ({ form: formRef(f), fields: formFields(f) })) });
    }, true);

    // Text the user marks with the mouse or the keyboard.
    let lastSelection = "";
    function onSelection(event) {
        if (!event.isTrusted)
            return;
        const text = String(window.getSelection() || "").trim();
        if (text === lastSelection)
            return;
        lastSelection = text;
        send("selection", { text: text, inBody: !!document.body && document.body.tagName !== "FRAMESET" });
    }
    document.addEventListener("mouseup", onSelection, true);
    document.addEventListener("keyup", onSelection, true);

    // The page's loads, as the engine sees them: a navigation when the document is made, and its completion
    // once its own load handlers and its frames have run.
    send("navigate", { referrer: document.referrer });
    window.addEventListener("load", function () {
        let waits = 0;
        const settled = function () {
            let pending = false;
            for (let i = 0; i < window.frames.length; ++i) {
                try {
                    const frame = window.frames[i];
                    pending = pending || frame.document.readyState !== "complete";
                } catch (e) {
                    // A frame of another origin reports on its own.
                }
            }
            if (pending && waits++ < 20) {
                setTimeout(settled, 0);
                return;
            }
            const forms = Array.from(document.forms, f => ({ form: formRef(f), fields: formFields(f) }));
            send("document", { forms: forms, frames: window.frames.length });
        };
        setTimeout(settled, 0);
    });
})();
