#pragma once
#include <QString>

class DBGridEh;

// Column layouts of the grids, kept in table cfg_Grid under a key per grid (compared without
// regard to case). Each service reports a database failure itself and returns false.

// Replaces the grid's columns by the rows stored under gridName (in F_Order), with their field,
// caption, width, visibility, read-only flag, display format, footer and alignment. Rows with an
// empty field name are passed over; without any row the grid keeps its own columns.
bool LoadGridLayout(DBGridEh *grid, const QString &gridName);
// Keeps the grid's columns, order and captions, and gives every column that has a stored row
// under gridName that row's width, visibility, read-only flag, display format, footer and
// alignment.
bool ApplyGridLayout(DBGridEh *grid, const QString &gridName);
// Writes every column's caption, width, read-only flag, visibility, position, alignment, display
// format and footer into its existing row under gridName. Rows are never added: a column without
// a stored row stays unsaved. All or nothing.
bool SaveGridLayout(DBGridEh *grid, const QString &gridName);
// Lets the user tick the visible columns (the field list); true when confirmed.
bool SelectGridColumns(DBGridEh *grid);
// Caption of the first column showing fieldName (without regard to case); empty when none.
QString GetColumnCaption(const DBGridEh *grid, const QString &fieldName);
