#pragma once
// The help context numbers the windows and dialogs ask for, and the page each opens in
// the program's help (resources/help/). 0 is the contents.
#include <QString>

#include <array>

constexpr int kHelpContents = 0;
constexpr int kHelpMainWindow = 1;

struct THelpTopic {
  int Context;
  const char* Page;  // a page of the help, with an anchor where the topic is part of one
};

// Every context the program asks for.
inline constexpr std::array<THelpTopic, 30> kHelpTopics = {{
    {0, "index.html"},
    {1, "main.html"},
    {2, "options.html#tabfilter"},
    {7, "lists.html"},
    {12, "task.html"},
    {13, "options.html"},
    {14, "print.html"},
    {15, "filter.html"},
    {33, "sort.html"},
    {34, "options.html#general"},
    {45, "options.html#toolbar"},
    {46, "task.html#general"},
    {47, "options.html#fields"},
    {48, "options.html#list"},
    {51, "options.html#defaults"},
    {52, "print.html#printer"},
    {53, "print.html#paper"},
    {54, "print.html#layout"},
    {55, "print.html#fonts"},
    {57, "print.html#colors"},
    {60, "print.html#content"},
    {61, "task.html#reminder"},
    {62, "task.html#link"},
    {63, "task.html#recurring"},
    {2000, "errors.html#e2000"},
    {2001, "errors.html#e2001"},
    {2002, "errors.html#e2002"},
    {2003, "errors.html#e2003"},
    {2004, "errors.html#e2004"},
    {2007, "errors.html#e2007"},
}};

// The help's address of a context ("qrc:/help/task.html#reminder"); the contents for a
// context the help does not know.
QString HelpTopicUrl(int context);
