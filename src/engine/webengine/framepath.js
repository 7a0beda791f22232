    // The path of frame indexes from the top window down to `w`: [] for the top window, [0] for its first
    // frame. The send engine and the teach window's recorder both take it from here, so that a frame the
    // recorder names is the frame a send replays in.
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
