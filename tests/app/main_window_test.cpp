#include "app/main_window.h"

#include <gtest/gtest.h>

#include "app/event_log.h"
#include "app/level_editor.h"
#include "app/program.h"
#include "app_fixture.h"
#include "forms/frm_com.h"
#include "forms/frm_copyright.h"
#include "forms/frm_setup.h"

namespace pnl {
namespace {

struct MainWindowFixture : ::testing::Test {
    MainWindowFixture() : levels(program(), form), main(program(), form, com, info, levels) {
        com.setVisible(false);
        main.seams.OpenResidentView = [this] { ++residentViewsOpened; };
        main.seams.showTransferDialog = [this] { ++transferDialogs; };
        main.seams.showProjectInfo = [this] { infoVersion = info.LblPVersion.caption(); };
        main.seams.interfaceWindowOpened = [this] { ++interfaceOpenings; };
    }
    void SetUp() override {
        test::writeLevels(inst.fs, inst.path("ANLAGE99_COPY.INI"), {{3, "TRUE,333333,A"}});
        program().InitX.setFileName(inst.path("ANLAGE99_COPY.INI"));
        program().UserLevel = 3;
        form.setGeometry({100, 80, 800, 600});
        main.Open();
    }
    Program& program() { return *inst.program; }
    const std::string& panel(int number) const { return form.SBarSetup.panel(number).text; }

    test::Installation inst;  // the virtual clock starts at 06.12.2026 09:30:00
    FrmSetup form;
    FrmCOM com;
    FrmCopyright info;
    LevelEditor levels;
    MainWindowController main;
    int residentViewsOpened = 0, transferDialogs = 0, interfaceOpenings = 0;
    std::string infoVersion;
};

// The menus as the user clicks them; the Qt window's tests check the pages and the interface window's place.
TEST_F(MainWindowFixture, TheMenusSwitchPagesAndCloseTheInterfaceWindow) {
    EXPECT_TRUE(form.FrBewo.visible());
    EXPECT_EQ(residentViewsOpened, 1);
    main.PCCOM_Click();
    EXPECT_TRUE(com.visible());
    EXPECT_FALSE(form.FrBewo.visible());
    main.PCCOM_Click();  // already open: placed again, not loaded again
    EXPECT_EQ(interfaceOpenings, 1);
    form.SSTabBewo.setTab(1);
    main.Bewo_Click();  // "Datensätze" shows the first tab
    EXPECT_FALSE(com.visible());
    EXPECT_EQ(form.SSTabBewo.tab(), 0);
    EXPECT_EQ(residentViewsOpened, 2);
    // "Berechtigungen" closes it too and resets the level editor.
    main.PCCOM_Click();
    form.CboLVBez.setListIndex(2);
    main.Passwords_Click();
    EXPECT_FALSE(com.visible());
    EXPECT_TRUE(form.FrLevels.visible());
    EXPECT_FALSE(form.FrBewo.visible());
    EXPECT_EQ(form.CboLVBez.listIndex(), -1);
    // "PNLXXX" and "Info" keep the page.
    main.Pnl_Click();
    main.Info_Click();
    EXPECT_EQ(transferDialogs, 1);
    EXPECT_TRUE(form.FrLevels.visible());
    EXPECT_EQ(infoVersion, "Version: 2.014");
    EXPECT_FALSE(info.LblPTitle.caption().empty() || info.LblPCopyright.caption().empty());
}

// The Qt window's tests check the residents and the time; here the level and the log problem.
TEST_F(MainWindowFixture, TheAlarmShowsTheLevelAndALogLineThatCouldNotBeWrittenOnce) {
    EXPECT_EQ(panel(1), "Level 3");
    EXPECT_EQ(panel(2), "");
    program().UserLevel = 4;  // not how levels change, but it shows which panels the alarm writes
    inst.writeFile("log", "");
    EventLog(program(), "Bewohnerdatensatz: C001 wurde geaendert.");
    inst.loop.advance(10000);
    EXPECT_EQ(panel(1), "Level 4");
    EXPECT_EQ(panel(2), "Protokoll nicht schreibbar: " + inst.path("log/06122026.log"));
    inst.loop.advance(24 * 3600 * 1000);  // noted once: the next day's failure does not replace it
    EventLog(program(), "Bewohnerdatensatz: C002 wurde geaendert.");
    inst.loop.advance(10000);
    EXPECT_EQ(panel(2), "Protokoll nicht schreibbar: " + inst.path("log/06122026.log"));
}

// The Qt window's tests check "Beenden".
TEST_F(MainWindowFixture, ClosingWaitsForATransferAndAPageWithUnsavedWorkIsLeftOnlyWhenItsQuestionAllows) {
    program().serialLinkBusy = true;
    EXPECT_TRUE(main.Form_QueryUnload());  // refused before the exit question
    ASSERT_EQ(inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(inst.dialogs.last().icon, MsgIcon::Exclamation);
    program().serialLinkBusy = false;
    inst.dialogs.shown.clear();

    bool stay = true;
    int asked = 0;
    main.seams.leavePage = [&] {
        ++asked;
        return !stay;
    };
    main.Passwords_Click();
    main.PCCOM_Click();
    main.Bewo_Click();
    EXPECT_TRUE(main.Form_QueryUnload());  // cancelled: the window stays
    EXPECT_EQ(asked, 4);
    EXPECT_TRUE(form.FrBewo.visible());
    EXPECT_FALSE(com.visible());
    EXPECT_TRUE(inst.dialogs.shown.empty());  // not even the exit question
    stay = false;
    main.Passwords_Click();
    EXPECT_TRUE(form.FrLevels.visible());
    inst.dialogs.answer(MsgAnswer::Cancel);
    EXPECT_TRUE(main.Form_QueryUnload());
    EXPECT_EQ(inst.dialogs.texts(),
              std::vector<std::string>{"Sollen alle getätigten Änderungen übernommen werden?"});

    program().notify("Gespeichert: Meier, Anna");  // a success shows a while in the status bar
    EXPECT_EQ(panel(MainWindowController::kNoticePanel), "Gespeichert: Meier, Anna");
    inst.loop.advance(MainWindowController::kNoticeSeconds * 1000);
    EXPECT_EQ(panel(MainWindowController::kNoticePanel), "");
}

}  // namespace
}  // namespace pnl
