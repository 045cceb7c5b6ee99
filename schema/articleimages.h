#pragma once
// Small article pictures for the demo company, drawn in code (no text, so no font database
// and no GUI application is needed).
#include <QString>

namespace kem {

enum class ArticleShape { Table, Chair, Wardrobe, Bookcase, Worktop };

// Draws the shape into a PNG file; the same shape always gives the same bytes.
bool WriteArticleImage(const QString &path, ArticleShape shape, QString *error);

} // namespace kem
