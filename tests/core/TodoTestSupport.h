#pragma once
// Pins for the clock and the date formats, and a field-by-field comparison of tasks.
#include "core/BTodo.h"
#include "platform/DateTime.h"
#include "support/ContextPins.h"

#include <gtest/gtest.h>

inline void ExpectSameTask(const TTdTodo& a, const TTdTodo& b) {
  EXPECT_EQ(a.ID, b.ID);
  EXPECT_EQ(a.Reserved, b.Reserved);
  EXPECT_EQ(a.Category, b.Category);
  EXPECT_EQ(a.Resource, b.Resource);
  EXPECT_EQ(a.Title, b.Title);
  EXPECT_EQ(a.Notes, b.Notes);
  EXPECT_EQ(a.Priority, b.Priority);
  EXPECT_EQ(a.Status, b.Status);
  EXPECT_EQ(a.Type, b.Type);
  EXPECT_EQ(a.Percent, b.Percent);
  EXPECT_EQ(a.Created, b.Created);
  EXPECT_EQ(a.Due, b.Due);
  EXPECT_EQ(a.Completed, b.Completed);
  EXPECT_EQ(a.ReminderPath, b.ReminderPath);
  EXPECT_EQ(a.ReminderType, b.ReminderType);
  EXPECT_EQ(a.ReminderDateTime, b.ReminderDateTime);
  EXPECT_EQ(a.Flags, b.Flags);
  EXPECT_EQ(a.Association, b.Association);
  EXPECT_EQ(a.RecurKind, b.RecurKind);
  EXPECT_EQ(a.RecurInterval, b.RecurInterval);
  EXPECT_EQ(a.RecurDayMask, b.RecurDayMask);
  EXPECT_EQ(a.RecurLeadDays, b.RecurLeadDays);
  EXPECT_EQ(a.RecurFirstDate, b.RecurFirstDate);
  EXPECT_EQ(a.RecurLastDate, b.RecurLastDate);
  EXPECT_EQ(a.RecurLastGenerated, b.RecurLastGenerated);
  EXPECT_EQ(a.TemplateId, b.TemplateId);
  EXPECT_EQ(a.RecurReserved, b.RecurReserved);
  EXPECT_EQ(a.ReservedStrings, b.ReservedStrings);
}

// A task with every field away from its default; a template when asked.
inline void FillEveryField(TTdTodo& t, bool isTemplate) {
  t.ID = 41;
  t.Reserved = -5;
  t.Category = 3;
  t.Resource = 2;
  t.Title = QString::fromUtf8("Überweisung €50");
  t.Notes = QStringLiteral("line one\r\nline two");
  t.Priority = 4;
  t.Status = tsWaiting;
  t.Type = 1;
  t.Percent = 55;
  t.Created = 38000.25;
  t.Due = 38010.5;
  t.Completed = 38011.75;
  t.ReminderPath = QStringLiteral("/sounds/ding.wav");
  t.ReminderType = 7;
  t.ReminderDateTime = 38009.375;
  t.Flags = 0x80000000u | tfFlagged | tfReminderActivated | tfReminderGiven | tfFromTemplate |
            (isTemplate ? tfIsTemplate : 0u);
  t.Association = QStringLiteral("https://example.org/a b");
  t.RecurKind = 2;
  t.RecurInterval = 3;
  t.RecurDayMask = 0x40000001;
  t.RecurLeadDays = 6;
  t.RecurFirstDate = 38001.0;
  t.RecurLastDate = 38400.0;
  t.RecurLastGenerated = 38050.0;
  t.TemplateId = 17;
  t.RecurReserved = {1, -2, 3};
  for (int i = 0; i < 10; ++i) t.ReservedStrings[i] = i % 3 ? QByteArray() : QByteArray("r\xE9s", 3) + QByteArray::number(i);
}
