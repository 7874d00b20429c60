#pragma once

#include <QString>
#include <string>
#include <vector>

#include "app/app_session.h"
#include "common/interaction.h"

class QWidget;

namespace athup::gui {

inline constexpr const char* kReceiptWindowCaption = "附件上傳收執聯列印";

// The result window's "列印收執聯": opens the batch printing for the receipt files the masks find
// in the period's report folder (the result window passes "*.prn"), then previews or prints the
// receipt of every taxpayer still checked when it closes, however it was closed. Messages go
// through the port. The window is created once and reused.
void printReceiptFiles(QWidget* parent, app::AppSession& session, Interaction& interaction,
                       const std::vector<std::string>& masks,
                       const QString& caption = QString::fromUtf8(kReceiptWindowCaption));

}  // namespace athup::gui
