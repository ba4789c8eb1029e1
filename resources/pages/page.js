// The dialog server calls showProgressBar and showTranslation; the page also switches to the
// answer by itself once its frame has loaded, whatever markup the service sends.
var answerId = "translation";
var answerShown = false;

function setShown(id, shown) {
    var element = document.getElementById(id);
    if (element)
        element.style.display = shown ? "block" : "none";
}

function showProgressBar() {
    answerShown = false;
    setShown(answerId, false);
    setShown("progress", true);
    return true;
}

function showTranslation() {
    answerShown = true;
    setShown("progress", false);
    if (answerId != "translation")
        setShown("translation", false);
    setShown(answerId, true);
    return true;
}

// A frame with no address yet has loaded nothing to show. When the answer goes elsewhere (the
// dialog copies it out of the frame), the frame itself is shown only if that never happens.
function frameLoaded(frame) {
    var address = frame.getAttribute("src");
    if (!address || address == "about:blank")
        return;
    if (frame.id == answerId) {
        showTranslation();
        return;
    }
    window.setTimeout(function () {
        if (answerShown)
            return;
        setShown("progress", false);
        setShown(frame.id, true);
    }, 1500);
}
