#pragma once
// What each cell of the task tree shows: its text, its image and its hint, and the
// header's captions, hints and which columns show. Pure functions of the task and the
// view context, so they are tested without a window.
#include "ui/TaskViewContext.h"

#include <QString>

class TTdTodo;

// The cell's text; empty for columns that show only an image or a check box.
QString TaskCellText(const TTdTodo& task, int column, const TTaskViewContext& context);
// The cell's image in TaskTreeImages, or -1 when the column shows none.
int TaskCellImage(const TTdTodo& task, int column, const TTaskViewContext& context);
// The hint of a cell; empty for none.
QString TaskCellHint(const TTdTodo& task, int column, const TTaskViewContext& context);

// The header hint of a column.
QString ColumnHeaderHint(int column);
// Whether a column shows by its switch; the title always shows.
bool ColumnShown(int column, const TTdAppOptions& options);
// Whether a column shows a text, and whether an image, by the options.
bool ColumnShowsText(int column, const TTdAppOptions& options);
bool ColumnShowsImage(int column, const TTdAppOptions& options);
// The header caption; with ShortColumnNames image-only columns get one letter.
QString ColumnHeaderCaption(int column, const TTdAppOptions& options);

// Text broken into lines of at most `width` characters at blanks (a longer word is
// cut), lines joined with "\n". Existing line breaks stay.
QString WrapText(const QString& text, int width);
// A day count with one decimal in the locale's notation.
QString DaysText(double days);
