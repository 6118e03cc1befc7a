-- What zorvane.wxs cannot say in wixl's dialect, applied by tools/make-setup.sh to the
-- package wixl made, each statement ending with ";". @VERSION@, @UPGRADE_CODE@,
-- @PING_CFG_ATTRIBUTES@ (never overwrite, and 64-bit for x64), @SYSTEM_FOLDER@ (the one
-- of the build's programs) and @OTHER_ARCH_ID@ (64 in the x86 package, 86 in the x64 one)
-- are filled in first.
--
-- The other build of this version counts as older: one Zorvane per machine.
DELETE FROM `Upgrade` WHERE `ActionProperty` = 'OLDERFOUND';
INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Attributes`, `ActionProperty`)
    VALUES ('{@UPGRADE_CODE@}', '0.0', '@VERSION@', 768, 'OLDERFOUND');
-- Properties the installing service takes from the command line of an administrator.
UPDATE `Property` SET `Value` = 'OLDERFOUND;NEWERFOUND;NSISSETUP;RESTORE;VIGILO_AT_LOGON'
    WHERE `Property` = 'SecureCustomProperties';
UPDATE `Component` SET `Condition` = 'VIGILO_AT_LOGON = "1"' WHERE `Component` = 'RunAtLogon';
-- Ping.cfg: never overwritten (an upgrade or a repair keeps the user's choice) ...
UPDATE `Component` SET `Attributes` = @PING_CFG_ATTRIBUTES@ WHERE `Component` = 'PingSettings';
-- ... and writable by the Users group (BU), as the companion saves it with the user's rights.
-- Windows Installer 5 (Windows 7 and later) reads this table; older ones ignore it.
CREATE TABLE `MsiLockPermissionsEx` (`MsiLockPermissionsEx` CHAR(72) NOT NULL,
    `LockObject` CHAR(72) NOT NULL, `Table` CHAR(32) NOT NULL, `SDDLText` LONGCHAR NOT NULL,
    `Condition` CHAR(255) PRIMARY KEY `MsiLockPermissionsEx`);
INSERT INTO `MsiLockPermissionsEx` (`MsiLockPermissionsEx`, `LockObject`, `Table`, `SDDLText`)
    VALUES ('PingCfgUsersChange', 'PingCfg', 'File', 'D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1301bf;;;BU)');
-- At uninstall, what the programs made beside themselves: the settings and the temporary
-- files of a save cut short, the Start-menu folder, and the options of the user who
-- uninstalls. An upgrade keeps them: it removes the older version's own parts only.
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`)
    VALUES ('ZorvaneCfg', 'Programs', 'Zorvane.cfg', 'INSTALLDIR', 2);
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`)
    VALUES ('ZorvaneCfgTmp', 'Programs', 'Zorvane.cfg.tmp', 'INSTALLDIR', 2);
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `FileName`, `DirProperty`, `InstallMode`)
    VALUES ('PingCfgTmp', 'Programs', 'Ping.cfg.tmp', 'INSTALLDIR', 2);
INSERT INTO `RemoveFile` (`FileKey`, `Component_`, `DirProperty`, `InstallMode`)
    VALUES ('MenuFolder', 'Programs', 'MenuFolder', 2);
INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Component_`)
    VALUES ('UserOptions', 1, 'Software\Zorvane', '-', 'Programs');
-- The fleet's saved choices go with the install; an upgrade keeps them (component Choices).
INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Component_`)
    VALUES ('SavedChoices', 2, 'Software\Zorvane', '-', 'Choices');
-- What the programs made in folders of their own: the records Undo keeps, and the
-- companion's log of the user who uninstalls. Wine's installer, where the package is
-- tested, takes no wildcards in the RemoveFile table; cmd's rd works on both. A commit
-- action, with the installer's rights (512 + 1024 + 2048), its exit code ignored (64): it
-- runs only once the uninstall succeeded, so one that fails or is cancelled keeps the state
-- to put back. Where rollback is disabled, commit actions never run; the folders then go
-- as the script ends (1024 + 2048 + 64), when nothing could be put back anyway. Wine runs
-- these actions after its standard ones, when the folder is left empty but for these: the
-- last rd (of an empty folder only) is for it, from the Windows folder, as Wine starts
-- commit actions in the install folder.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`)
    VALUES ('RemoveProgramsFolders', 3682, 'TARGETDIR',
            '"[@SYSTEM_FOLDER@]cmd.exe" /c cd /d "[WindowsFolder]" & rd /s /q "[SnapshotsFolder]" & rd /s /q "[VigiloLogFolder]" & rd /s /q "[VigiloRecordFolder]" & rd "[INSTALLDIR]"');
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('RemoveProgramsFolders', 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE AND NOT RollbackDisabled', 3499);
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`)
    VALUES ('RemoveProgramsFoldersAtEnd', 3170, 'TARGETDIR',
            '"[@SYSTEM_FOLDER@]cmd.exe" /c cd /d "[WindowsFolder]" & rd /s /q "[SnapshotsFolder]" & rd /s /q "[VigiloLogFolder]" & rd /s /q "[VigiloRecordFolder]" & rd "[INSTALLDIR]"');
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('RemoveProgramsFoldersAtEnd', 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE AND RollbackDisabled', 6599);
--
-- Moving to the other build (x86 to x64 or back) keeps the user's files. The builds install
-- into different folders on 64-bit Windows, so the other build's folder is found by the
-- component that holds its programs, whose code is the same in every version of that build
-- (type 1, no signature: the folder of its key file, Zorvane.exe) ...
CREATE TABLE `CompLocator` (`Signature_` CHAR(72) NOT NULL, `ComponentId` CHAR(38) NOT NULL,
    `Type` INT PRIMARY KEY `Signature_`);
INSERT INTO `CompLocator` (`Signature_`, `ComponentId`, `Type`)
    VALUES ('OtherBuildPrograms', '{9A4F2C17-3B8E-4D61-A5C0-7E19B2D4F0@OTHER_ARCH_ID@}', 1);
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('OTHERBUILDDIR', 'OtherBuildPrograms');
-- ... its settings and snapshots are copied into this install once its files are in place
-- (the older build's uninstall, which comes after, deletes its Zorvane.cfg and Ping.cfg), a
-- failed copy failing the install (1024 + 2048, exit code checked), so that the other build
-- stays with its files. Ping.cfg is written into the installed file, which keeps the rights
-- that let the users change it. A Snapshots folder left by an earlier install is replaced
-- as a whole, so that the records stay one consistent set ...
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`)
    VALUES ('CopySettingsFromOtherBuild', 3106, 'TARGETDIR',
            '"[@SYSTEM_FOLDER@]cmd.exe" /c (if exist "[OTHERBUILDDIR]Zorvane.cfg" copy /y "[OTHERBUILDDIR]Zorvane.cfg" "[INSTALLDIR]") && (if exist "[OTHERBUILDDIR]Ping.cfg" type "[OTHERBUILDDIR]Ping.cfg" >"[INSTALLDIR]Ping.cfg")');
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`)
    VALUES ('CopySnapshotsFromOtherBuild', 3106, 'TARGETDIR',
            '"[@SYSTEM_FOLDER@]cmd.exe" /c if exist "[OTHERBUILDDIR]Snapshots\*" (rd /s /q "[INSTALLDIR]Snapshots" & xcopy /e /i /y /q "[OTHERBUILDDIR]Snapshots" "[INSTALLDIR]Snapshots")');
-- ... and leave its folder once this install is committed (512 + 1024 + 2048, exit code
-- ignored), as its uninstall keeps them in an upgrade.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`)
    VALUES ('RemoveSnapshotsOfOtherBuild', 3682, 'TARGETDIR',
            '"[@SYSTEM_FOLDER@]cmd.exe" /c rd /s /q "[OTHERBUILDDIR]Snapshots"');
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('CopySettingsFromOtherBuild', 'OTHERBUILDDIR AND OTHERBUILDDIR ~<> INSTALLDIR AND NOT REMOVE~="ALL"', 4001);
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('CopySnapshotsFromOtherBuild', 'OTHERBUILDDIR AND OTHERBUILDDIR ~<> INSTALLDIR AND NOT REMOVE~="ALL"', 4002);
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('RemoveSnapshotsOfOtherBuild', 'OTHERBUILDDIR AND OTHERBUILDDIR ~<> INSTALLDIR AND NOT REMOVE~="ALL"', 4003);
