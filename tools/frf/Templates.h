// The eight report templates the business windows load from Frf/, laid out
// with the engine's objects. Bands name the windows' report data sources;
// fields name their datasets by path, as the windows hold them.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QObject;
class TfrReport;

// The file names without ".frf", in a fixed order.
QStringList TemplateNames();
// Lays out the template Name into Report (emptied first).
void LayOutTemplate(const QString& Name, TfrReport& Report);
