#pragma once
#include <QString>

// The product's fixed texts. The main window's caption is AppTitle followed by AppVersion.
inline const QString AppTitle = QStringLiteral("澜禾人事工资管理软件 ");
inline const QString AppVersion = QStringLiteral("v2.42(企业版)");
// The right-hand caption of the main window's status bar.
inline const QString AppStatusCaption = QStringLiteral("澜禾软件  人事工资管理 ");
// The product's web site, opened by 辅助功能 → 官方网站 (a placeholder address until the product
// has its own site).
inline const QString AppWebSite = QStringLiteral("https://www.example.com/lanhe/");
