#pragma once

#include "skinmaker/core/location.h"
#include "skinmaker/pictures/picturereader.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;

namespace skinmaker::authoring {

// The background is read as every other reader of the skin's pictures reads it.
using pictures::LoadedPicture;
using pictures::loadPicture;

// 预览: the skin's background picture behind four fixed pictures that imitate the parts of
// the QQ 2004 panel covering it, to give a rough idea of the result.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow();

    // The load steps, once per window: the notice, then the background picture found by the
    // location and the picture name. Returns false when the window is to stay hidden
    // because no version was chosen.
    bool load(const core::SkinLocation &location, const QString &pictureName);

    QLabel *background() const { return m_background; }

private:
    QLabel *m_background = nullptr; // Image1
};

} // namespace skinmaker::authoring
