// The classic edit's CharCase and PasswordChar on a QLineEdit.
#pragma once

#include <QChar>
#include <QString>

class QLineEdit;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Text as an edit of that case holds it.
QString CharCaseText(const QString& Text, TEditCharCase Case);

// #0 shows the text as typed; any other character stands for each one.
void SetPasswordChar(QLineEdit* Edit, QChar Char);
