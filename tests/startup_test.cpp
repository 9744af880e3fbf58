#include <map>

#include "alarms/alarm_records.h"
#include "program_fixture.h"
#include "shell/registration.h"
#include "shell/splash.h"
#include "shell/tivlo_form.h"

namespace {

using Store = std::map<std::string, std::map<std::string, std::string>>;

const Store kDefaults = {
    {"Software\\Tivlo\\Image",
     {{"GIF_Download", "True"}, {"JPG_Download", "True"}, {"JPEG_Download", "True"}, {"BMP_Download", "True"},
      {"PNG_Download", "True"}, {"Limited_Images_Resolution", "False"}, {"Limited_Images_Size", "False"},
      {"Images_Width", "300"}, {"Images_Height", "300"}, {"Images_File_Size", "10"}}},
    {"Software\\Tivlo\\ResSetting",
     {{"Disp_Window_AfterGrabbing", "True"}, {"Download_File_Name", "Catch"},
      {"Download_File_Folder", "C:\\Program Files\\Tivlo"}}},
    {"Software\\Tivlo\\TimeSetting", {{"Day_Mode", "1"}, {"AM/PM_Mode", "1"}, {"AlarmNum", "0"}, {"DispColor", "0"}}},
    {"Software\\Tivlo\\PokerSetting", {{"Card_Back", "0"}}},
};

class StartupTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        world.backend.setAppPath("C:\\Program Files\\Tivlo");
    }
    void Put(const Store& store) {
        for (auto& [key, values] : store)
            for (auto& [name, text] : values) world.registry.put(key, name, text);
    }
    void ExpectStore(const Store& store) {
        for (auto& [key, values] : store)
            for (auto& [name, text] : values) EXPECT_EQ(world.registry.value(key, name), text) << key << "\\" << name;
    }
    void ExpectSevereError() {
        ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
        EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "Severe error has occured !");
        EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
        EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 16);
        EXPECT_EQ(world.tray.iconCount(), 0u);
    }
};

TEST_F(StartupTest, FirstStartWritesTheDefaultsAndShowsTheClock) {
    world.registry.put("Software\\Tivlo\\Stale\\Deep", "x", "y");  // a partial store goes away whole
    EXPECT_FALSE(Start());
    ExpectStore(kDefaults);
    EXPECT_FALSE(world.registry.exists("Software\\Tivlo\\Stale"));
    int values = 0;
    for (auto& [key, names] : kDefaults) values += int(names.size());
    EXPECT_EQ(values, 18);

    EXPECT_TRUE(gDownloadGIF && gDownloadJPG && gDownloadJPEG && gDownloadBMP && gDownloadPNG);
    EXPECT_FALSE(gLimitImageSize || gLimitImageFileSize);
    EXPECT_EQ(gImageWidth, 300);
    EXPECT_EQ(gImageHeight, 300);
    EXPECT_EQ(gImageFileSizeKB, 10);
    EXPECT_TRUE(gDispWindowAfterGrabbing);
    EXPECT_EQ(gDownloadFileName, "Catch");
    EXPECT_EQ(gListedFolder, "C:\\Program Files\\Tivlo");
    EXPECT_EQ(gDayMode, 1);
    EXPECT_EQ(gAmPmMode, 1);
    EXPECT_EQ(gDispColor, 0);
    EXPECT_EQ(gAlarmCount, 0);
    EXPECT_EQ(gAlarmQueueCount, 0);
    EXPECT_TRUE(gStopGrabbing);
    EXPECT_TRUE(gToday.empty());

    EXPECT_FALSE(frmSplash.Loaded());
    ASSERT_TRUE(frmTivlo.Loaded());
    EXPECT_FALSE(frmTivlo().Visible());
    EXPECT_TRUE(frmTivlo().tmrClock.Enabled());
    EXPECT_TRUE(frmTivlo().tmrAlarm.Enabled());
    EXPECT_FALSE(frmTivlo().tmrUTC.Enabled());
    EXPECT_FALSE(frmTivlo().tmrGrabbing.Enabled());
    EXPECT_EQ(world.tray.iconCount(), 2u);
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());

    // A later start reads what is stored and writes nothing.
    world.registry.put("Software\\Tivlo\\TimeSetting", "AM/PM_Mode", "2");
    ResetGlobals();
    world.tray.reset();
    EXPECT_FALSE(Start());
    EXPECT_EQ(gAmPmMode, 2);
}

TEST_F(StartupTest, SecondInstanceEndsAtOnceAndTouchesNothing) {
    world.backend.setPrevInstance(true);
    EXPECT_TRUE(Start());
    EXPECT_FALSE(world.registry.exists("Software\\Tivlo"));
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    EXPECT_EQ(world.tray.iconCount(), 0u);
    EXPECT_FALSE(frmTivlo.Loaded());
}

TEST_F(StartupTest, DamagedStoreEndsWithSevereErrorAndWritesNothing) {
    const std::vector<std::tuple<std::string, std::string, std::string>> damage = {
        {"Software\\Tivlo\\Image", "GIF_Download", "Yes"},
        {"Software\\Tivlo\\Image", "Images_Width", "40000"},
        {"Software\\Tivlo\\Image", "Images_File_Size", "ten"},
        {"Software\\Tivlo\\TimeSetting", "DispColor", "black"},
        {"Software\\Tivlo\\TimeSetting", "Day_Mode", ""},
    };
    for (auto& [key, name, text] : damage) {
        SCOPED_TRACE(name + "=" + text);
        world.registry.clear();
        world.backend.reset();
        ResetGlobals();
        Store store = kDefaults;
        store[key][name] = text;
        Put(store);
        EXPECT_TRUE(Start());
        ExpectSevereError();
        ExpectStore(store);
    }
}

TEST_F(StartupTest, MissingValuesAndBrokenAlarmsAreDamageToo) {
    Store store = kDefaults;
    store["Software\\Tivlo\\Image"].erase("JPG_Download");  // reads as 254 blanks
    Put(store);
    EXPECT_EQ(eRegistration::GetRegistryValue("Software\\Tivlo\\Image", "JPG_Download"), std::string(254, ' '));
    EXPECT_EQ(eRegistration::GetRegistryValue("Software\\Tivlo\\Nothing", "JPG_Download"), "");
    EXPECT_TRUE(Start());
    ExpectSevereError();

    for (const std::string& alarm : {std::string("Tea/Every day/Dec 07 , 2026/10:00:00/"), std::string()}) {
        SCOPED_TRACE(alarm);
        world.registry.clear();
        world.backend.reset();
        ResetGlobals();
        store = kDefaults;
        store["Software\\Tivlo\\TimeSetting"]["AlarmNum"] = "1";
        if (!alarm.empty()) store["Software\\Tivlo\\TimeSetting"]["AlarmList1"] = alarm;
        Put(store);
        EXPECT_TRUE(Start());
        ExpectSevereError();
    }
}

TEST_F(StartupTest, LoadsStoredAlarmsAndLongTexts) {
    Store store = kDefaults;
    store["Software\\Tivlo\\TimeSetting"]["AlarmNum"] = "2";
    store["Software\\Tivlo\\TimeSetting"]["AlarmList1"] =
        "Stand up/Every day/Dec 01 , 2026/11:00:00 am//Do nothing/1/0/";
    store["Software\\Tivlo\\TimeSetting"]["AlarmList2"] =
        "Call home/Once/07 Dec 2026/08:00:00/C:\\a.mp3/Lock keyboard and mouse/5/65abc/06 Dec 2026/extra";
    const std::string longFolder = "C:\\" + std::string(300, 'f');
    store["Software\\Tivlo\\ResSetting"]["Download_File_Folder"] = longFolder;
    Put(store);
    EXPECT_FALSE(Start());
    ASSERT_EQ(gAlarmCount, 2);
    EXPECT_EQ(gSavedAlarmCount, 2);
    ASSERT_EQ(gAlarms.size(), 2u);
    EXPECT_EQ(gAlarms[0].Hint, "Stand up");
    EXPECT_EQ(gAlarms[0].Time, "11:00:00 am");
    EXPECT_EQ(gAlarms[1].Music, "C:\\a.mp3");
    EXPECT_EQ(gAlarms[1].Week, 65);
    EXPECT_EQ(gAlarms[1].LastDate, "06 Dec 2026");
    EXPECT_EQ(gSavedAlarms.size(), 2u);
    EXPECT_EQ(gSavedAlarms[1].Snooze, "5");
    // Queue sorted as text: "08:00:00" before "11:00:00 am".
    ASSERT_EQ(gAlarmQueueCount, 2);
    EXPECT_EQ(gAlarmQueue[0].AlarmIndex, 1);
    EXPECT_EQ(gAlarmQueue[1].AlarmIndex, 0);
    EXPECT_EQ(gDownloadFolder, longFolder);
    EXPECT_EQ(gListedFolder, longFolder);
}

TEST_F(StartupTest, RegistryTreeDeletion) {
    world.registry.put("Software\\Tivlo\\A\\B\\C", "v", "1");
    world.registry.put("Software\\Tivlo\\A\\D", "v", "1");
    world.registry.put("Software\\Tivlo\\E", "v", "1");
    world.registry.put("Software\\Other", "v", "1");
    eRegistration::DeleteRegistryTree("Software\\Tivlo\\");
    EXPECT_FALSE(world.registry.exists("Software\\Tivlo"));
    EXPECT_TRUE(world.registry.exists("Software\\Other"));
    EXPECT_EQ(world.registry.openHandleCount(), 0);

    // Absent key: nothing to say. Absent parent: the one message of the store.
    eRegistration::DeleteRegistryTree("Software\\Tivlo");
    EXPECT_TRUE(world.backend.msgBoxCalls().empty());
    eRegistration::DeleteRegistryTree("Nowhere\\Tivlo");
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].text, "Error opening parent key");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 0);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "tivlo");

    eRegistration::SetRegistryValue("Software\\Tivlo\\X", "k", "v");
    world.registry.put("Software\\Tivlo\\X\\Sub", "k", "v");
    eRegistration::DeleteRegistryKey("Software\\Tivlo\\X");  // has a subkey: stays
    EXPECT_TRUE(world.registry.exists("Software\\Tivlo\\X"));
    eRegistration::DeleteRegistryKey("Software\\Tivlo\\X\\Sub");
    EXPECT_FALSE(world.registry.exists("Software\\Tivlo\\X\\Sub"));
    EXPECT_EQ(world.registry.value("Software\\Tivlo\\X", "k"), "v");
    EXPECT_EQ(world.registry.openHandleCount(), 0);
}

}  // namespace
