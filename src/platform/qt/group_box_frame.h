// The frame of a titleless group box, drawn without the image plugins.
//
// The Fusion style reads its group-box frame picture by file name, and for a
// picture named that way the image reader loads every image plugin to ask
// whether one of them reads it: the first group box painted costs over a
// millisecond of the start. A titleless, uncheckable group box given this
// style gets the same picture, read once as PNG, drawn the same way; all
// else is Fusion's own. Under any other application style the box is left
// as it is.
#pragma once

class QGroupBox;

void UsePlainGroupBoxFrame(QGroupBox* box);
