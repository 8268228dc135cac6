#pragma once

#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;

// Text boxes whose text goes into a file.
namespace platform {

// The box takes whatever is typed or pasted whole: a line box otherwise cuts a long paste
// without a word, and the file would get a value other than the one the user pasted.
void keepWholeText(QLineEdit *box);

// Makes the label the box's caption (its buddy) and names the box after it, preceded by the
// captions of the frames around it where the label alone is ambiguous ("第一个按钮" stands in
// two frames). Screen readers and the notices name the box so. Also keeps its whole text.
void nameField(QLineEdit *box, QLabel *caption, const QStringList &frames = {});

// The name nameField gave the box.
QString fieldName(const QLineEdit *box);

} // namespace platform
