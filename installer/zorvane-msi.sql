-- What zorvane.wxs cannot say in wixl's dialect, applied by tools/make-setup.sh to the
-- package wixl made, each statement ending with ";". @VERSION@, @UPGRADE_CODE@,
-- @PING_CFG_ATTRIBUTES@ (never overwrite, and 64-bit for x64) and @SYSTEM_FOLDER@ (the one
-- of the build's programs) are filled in first.
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
-- What the programs made in folders of their own: the records Undo keeps, and the
-- companion's log of the user who uninstalls. Wine's installer, where the package is
-- tested, takes no wildcards in the RemoveFile table; cmd's rd works on both. Deferred,
-- with the installer's rights (1024 + 2048), its exit code ignored (64), before the files
-- go. Wine runs deferred actions after its standard ones, when the folder is left empty
-- but for these: the last rd (of an empty folder only) is for it.
INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`)
    VALUES ('RemoveProgramsFolders', 3170, 'TARGETDIR',
            '"[@SYSTEM_FOLDER@]cmd.exe" /c rd /s /q "[SnapshotsFolder]" & rd /s /q "[VigiloLogFolder]" & rd "[INSTALLDIR]"');
INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`)
    VALUES ('RemoveProgramsFolders', 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE', 3499);
