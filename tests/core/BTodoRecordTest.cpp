#include "TodoTestSupport.h"

namespace {
const TDateTime kNow = DateTime::EncodeDateTime(2004, 5, 3, 17, 0);
}

TEST(TodoRecord, ConstructionDefaults) {
  ClockPin clock(kNow);
  const TTdTodo t;
  EXPECT_EQ(t.Created, kNow);
  EXPECT_EQ(t.RecurFirstDate, kNow);
  EXPECT_EQ(t.RecurLastDate, kNow);
  EXPECT_EQ(t.Flags, tfOnlyOneOpen);
  EXPECT_EQ(t.RecurInterval, 1);
  EXPECT_EQ(t.RecurLeadDays, 3);
  EXPECT_EQ(t.ID, 0);
  EXPECT_EQ(t.Status, tsCreated);
  EXPECT_EQ(t.Due, 0);
  EXPECT_EQ(t.Completed, 0);
  EXPECT_EQ(t.RecurLastGenerated, 0);
  EXPECT_TRUE(t.Title.isEmpty());
  EXPECT_TRUE(t.ReservedStrings[9].isEmpty());
}

TEST(TodoRecord, AssignCopiesEverything) {
  TTdTodo source, copy;
  FillEveryField(source, true);
  copy.Assign(source);
  ExpectSameTask(copy, source);
}

TEST(TodoRecord, ClosingCompletesAndSwitchesReminderOff) {
  ClockPin clock(kNow);
  TTdTodo t;
  t.SetStatus(tsOpen);
  t.Flags |= tfReminderActivated | tfReminderGiven;
  t.SetStatus(tsCancelled);
  EXPECT_EQ(t.Completed, kNow);
  EXPECT_EQ(t.Percent, 100);
  EXPECT_FALSE(t.ReminderActivated());
  EXPECT_TRUE(t.ReminderGiven()) << "only bit 1 is cleared";

  clock.Set(kNow + 1);
  t.SetStatus(tsCancelled);
  EXPECT_EQ(t.Completed, kNow) << "setting the same status changes nothing";

  t.SetStatus(tsOpen);
  EXPECT_EQ(t.Completed, 0);
  EXPECT_EQ(t.Percent, 0);
  EXPECT_FALSE(t.ReminderActivated()) << "reopening does not switch the reminder back on";

  t.Percent = 60;
  t.SetStatus(tsWaiting);
  EXPECT_EQ(t.Percent, 0) << "Open to Waiting clears the percentage";
}

TEST(TodoRecord, FlagAccessorsTouchOnlyTheirBit) {
  struct Case {
    bool (TTdTodo::*get)() const;
    void (TTdTodo::*set)(bool);
    uint32_t bit;
  };
  const Case cases[] = {
      {&TTdTodo::Flagged, &TTdTodo::SetFlagged, tfFlagged},
      {&TTdTodo::ReminderGiven, &TTdTodo::SetReminderGiven, tfReminderGiven},
      {&TTdTodo::ReminderAccepted, &TTdTodo::SetReminderAccepted, tfReminderAccepted},
      {&TTdTodo::IsTemplate, &TTdTodo::SetIsTemplate, tfIsTemplate},
      {&TTdTodo::FromTemplate, &TTdTodo::SetFromTemplate, tfFromTemplate},
      {&TTdTodo::OnlyOneOpen, &TTdTodo::SetOnlyOneOpen, tfOnlyOneOpen},
  };
  for (const Case& c : cases) {
    TTdTodo t(0);
    t.Flags = 0xFFFFFF00u;
    (t.*c.set)(true);
    EXPECT_TRUE((t.*c.get)());
    EXPECT_EQ(t.Flags, 0xFFFFFF00u | c.bit);
    (t.*c.set)(false);
    EXPECT_EQ(t.Flags, 0xFFFFFF00u);
  }
}

TEST(TodoRecord, ActivatingReminderForgetsGivenAndAccepted) {
  TTdTodo t(0);
  t.Flags = tfReminderGiven | tfReminderAccepted | tfFlagged;
  t.SetReminderActivated(false);
  EXPECT_EQ(t.Flags, tfReminderGiven | tfReminderAccepted | tfFlagged);
  t.SetReminderActivated(true);
  EXPECT_EQ(t.Flags, tfReminderActivated | tfFlagged);
}

TEST(TodoRecord, ReminderTypeFromSwitchesAndBack) {
  for (int beep = 0; beep < 2; ++beep)
    for (int sound = 0; sound < 2; ++sound)
      for (int speech = 0; speech < 2; ++speech) {
        const int32_t type = TTdTodo::ReminderTypeOf(beep, sound, speech);
        EXPECT_EQ(TTdTodo::ReminderHasBeep(type), bool(beep)) << type;
        EXPECT_EQ(TTdTodo::ReminderHasSound(type), bool(sound)) << type;
        EXPECT_EQ(TTdTodo::ReminderHasSpeech(type), bool(speech)) << type;
      }
  EXPECT_EQ(TTdTodo::ReminderTypeOf(false, false, false), 0);
  EXPECT_EQ(TTdTodo::ReminderTypeOf(true, false, true), 4);
  EXPECT_EQ(TTdTodo::ReminderTypeOf(false, true, true), 5);
  EXPECT_EQ(TTdTodo::ReminderTypeOf(true, true, false), 6);
  EXPECT_EQ(TTdTodo::ReminderTypeOf(true, true, true), 7);
}

TEST(TodoRecord, OverdueAndDaySpans) {
  ClockPin clock(DateTime::EncodeDateTime(2004, 5, 3, 17, 0));
  TTdTodo t;
  t.Created = DateTime::EncodeDateTime(2004, 5, 1, 5, 0);
  t.Due = DateTime::EncodeDateTime(2004, 5, 3, 8, 0);
  EXPECT_TRUE(t.IsOverdue());
  EXPECT_EQ(t.DayGroup(), 0) << "due earlier today is not an overdue group";
  EXPECT_NEAR(t.DaysGone(), 2.5, 1e-9);
  EXPECT_NEAR(t.DaysLeft(), -9.0 / 24, 1e-9);
  t.Due = DateTime::EncodeDateTime(2004, 5, 5, 5, 0);
  EXPECT_FALSE(t.IsOverdue());
  EXPECT_NEAR(t.DaysLeft(), 1.5, 1e-9);
}

TEST(TodoRecord, ClosedAndOk) {
  TTdTodo t(0);
  for (int32_t s = 0; s < kStatusCount; ++s) {
    t.Status = s;
    EXPECT_EQ(t.IsClosed(), s == tsCancelled || s == tsOK) << s;
    EXPECT_EQ(t.IsOK(), s == tsOK) << s;
  }
}
