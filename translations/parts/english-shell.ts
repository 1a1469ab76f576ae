<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="fr_FR">
<context>
    <name>DetectConsole</name>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="30"/>
        <source>« %1 » : un nombre de 0 à %2 est attendu.</source>
        <translation>&quot;%1&quot;: a number from 0 to %2 is expected.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="43"/>
        <source>Chaque brochage est essayé à son tour : « Relayeur » en ligne 1, le brochage en ligne 2.</source>
        <translation>Each wiring is tried in turn: &quot;Relayeur&quot; on line 1, the wiring on line 2.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="51"/>
        <source>Brochage %1 essayé.</source>
        <translation>Wiring %1 tried.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="55"/>
        <source>Brochage %1 : l&apos;afficheur n&apos;a pas pu être écrit (%2).</source>
        <translation>Wiring %1: the panel could not be written to (%2).</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="63"/>
        <source>Numéro du brochage qui s&apos;affiche bien (Entrée : essayer le suivant, 0 : aucun) : </source>
        <translation>Number of the wiring that shows correctly (Enter: try the next one, 0: none): </translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="80"/>
        <source>Recherche des afficheurs…</source>
        <translation>Looking for panels…</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="94"/>
        <source>(à essayer)</source>
        <translation>(to be tried)</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="102"/>
        <source>Aucun afficheur trouvé.</source>
        <translation>No panel found.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="103"/>
        <source>Aucun afficheur utilisable trouvé.</source>
        <translation>No usable panel found.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="110"/>
        <source>Numéro de l&apos;afficheur à utiliser (Entrée : aucun) : </source>
        <translation>Number of the panel to use (Enter: none): </translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="114"/>
        <source>Aucun afficheur choisi : rien n&apos;est écrit.</source>
        <translation>No panel chosen: nothing is written.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="124"/>
        <source>Aucun brochage ne convient : rien n&apos;est écrit.</source>
        <translation>No wiring fits: nothing is written.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="132"/>
        <source>Utiliser %1 ? (1 : oui, 0 : non) : </source>
        <translation>Use %1? (1: yes, 0: no): </translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="136"/>
        <source>Rien n&apos;est écrit.</source>
        <translation>Nothing is written.</translation>
    </message>
    <message>
        <location filename="../../src/detect/DetectConsole.cpp" line="143"/>
        <source>Erreur : %1</source>
        <translation>Error: %1</translation>
    </message>
</context>
<context>
    <name>DetectDialog</name>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="20"/>
        <source>&amp;%1 Essayer</source>
        <translation>&amp;%1 Try</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="23"/>
        <source>Ça s&apos;affiche bien</source>
        <translation>It shows correctly</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="28"/>
        <source>&amp;Aucun ne s&apos;affiche bien</source>
        <translation>&amp;None shows correctly</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="37"/>
        <source>Utiliser %1 ?</source>
        <translation>Use %1?</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="64"/>
        <source>Recherche des afficheurs…</source>
        <translation>Looking for panels…</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="86"/>
        <source>%1 — l&apos;envoi sur le LCD est en cours : il est laissé tel quel</source>
        <translation>%1 — Relayeur is sending to it: it is left alone</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="96"/>
        <source>Aucun afficheur trouvé.</source>
        <translation>No panel found.</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="97"/>
        <source>Aucun afficheur utilisable trouvé.</source>
        <translation>No usable panel found.</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="99"/>
        <source>Choisissez l&apos;afficheur à utiliser.</source>
        <translation>Choose the panel to use.</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="133"/>
        <source>Brochage %1 essayé : l&apos;afficheur montre-t-il « Relayeur » et le brochage ?</source>
        <translation>Wiring %1 tried: does the panel show &quot;Relayeur&quot; and the wiring?</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="137"/>
        <source>Brochage %1 : l&apos;afficheur n&apos;a pas pu être écrit (%2).</source>
        <translation>Wiring %1: the panel could not be written to (%2).</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="153"/>
        <source>Aucun brochage ne convient : rien n&apos;est écrit.</source>
        <translation>No wiring fits: nothing is written.</translation>
    </message>
    <message>
        <location filename="../../src/shell/DetectDialog.cpp" line="164"/>
        <source>Erreur : %1</source>
        <translation>Error: %1</translation>
    </message>
</context>
<context>
    <name>F_Interface</name>
    <message>
        <location filename="../../src/shell/F_Interface.cpp" line="20"/>
        <source>Ouvrir un profil</source>
        <translation>Open a profile</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.cpp" line="21"/>
        <source>Fichiers Relayeur (*.tlcd)</source>
        <translation>Relayeur files (*.tlcd)</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.cpp" line="220"/>
        <source>Aucun profil choisi dans la liste : rien n&apos;est chargé</source>
        <translation>No profile chosen in the list: nothing is loaded</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.cpp" line="245"/>
        <source>Rafraîchissement : %1 ms</source>
        <translation>Refresh: %1 ms</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.cpp" line="253"/>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.cpp" line="253"/>
        <source>Détail de la ligne : 
<byte value="xd"/>%1</source>
        <translation>Line in full: 
<byte value="xd"/>%1</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.h" line="88"/>
        <source>Envoyer sur le LCD !</source>
        <translation>Send to the LCD!</translation>
    </message>
    <message>
        <location filename="../../src/shell/F_Interface.h" line="91"/>
        <source>Arréter sur le LCD !</source>
        <translation>Stop sending to the LCD!</translation>
    </message>
</context>
<context>
    <name>GpioModule</name>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="16"/>
        <source>RS,E,D4,D5,D6,D7[,BL[,E2]], par exemple 7,8,25,24,23,18,15</source>
        <translation>RS,E,D4,D5,D6,D7[,BL[,E2]], for example 7,8,25,24,23,18,15</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="36"/>
        <source>broches = %1 : %2</source>
        <translation>broches = %1: %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="40"/>
        <source>broches = (vide) : aucune ligne GPIO indiquée (%1)</source>
        <translation>broches = (empty): no GPIO line given (%1)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="47"/>
        <source>6 à 8 numéros de ligne attendus, %1 donnés (%2)</source>
        <translation>6 to 8 line numbers expected, %1 given (%2)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="63"/>
        <source>« %1 » n&apos;est pas un numéro de ligne (%2)</source>
        <translation>&quot;%1&quot; is not a line number (%2)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="69"/>
        <source>la ligne %1 est donnée deux fois</source>
        <translation>line %1 is given twice</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="90"/>
        <source>, rétroéclairage %1</source>
        <translation>, backlight %1</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="112"/>
        <source>broches = %1 : un afficheur %2x%3 a deux contrôleurs, ajoutez la ligne de E2 après BL (%4,E2)</source>
        <translation>broches = %1: a %2x%3 panel has two controllers, add the line of E2 after BL (%4,E2)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="138"/>
        <source>broches = %1 : la ligne %2 n&apos;existe pas, %3 a %4 lignes (0 à %5)</source>
        <translation>broches = %1: line %2 does not exist, %3 has %4 lines (0 to %5)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="202"/>
        <source>%1 introuvable : vérifiez le nom de la puce (gpiodetect la liste)</source>
        <translation>%1 not found: check the name of the chip (gpiodetect lists them)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="208"/>
        <source>accès refusé à %1 : ajoutez l&apos;utilisateur au groupe gpio (ou une règle udev), puis ouvrez une nouvelle session</source>
        <translation>access to %1 denied: add the user to the gpio group (or a udev rule), then open a new session</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="215"/>
        <source>%1 n&apos;est pas une puce GPIO, ou a disparu</source>
        <translation>%1 is not a GPIO chip, or has gone</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="219"/>
        <source>erreur de la puce GPIO %1</source>
        <translation>error of GPIO chip %1</translation>
    </message>
    <message>
        <location filename="../../src/drivers/GpioModule.cpp" line="231"/>
        <source>la ligne %1 est déjà prise (par « %2 » : un autre programme ou un pilote du noyau s&apos;en sert ; libérez-la ou changez broches)</source>
        <translation>line %1 is already taken (by &quot;%2&quot;: another program or a kernel driver uses it; free it or change broches)</translation>
    </message>
</context>
<context>
    <name>I2cBackpack</name>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="13"/>
        <source>1 : RS P0, RW P1, E P2, rétroéclairage P3 (allumé au niveau haut), D4–D7 P4–P7</source>
        <translation>1: RS P0, RW P1, E P2, backlight P3 (lit when high), D4–D7 P4–P7</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="17"/>
        <source>2 : D4–D7 P0–P3, RS P4, RW P5, E P6, rétroéclairage P7 (allumé au niveau bas)</source>
        <translation>2: D4–D7 P0–P3, RS P4, RW P5, E P6, backlight P7 (lit when low)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="21"/>
        <source>3 : D4–D7 P0–P3, E P4, RW P5, RS P6, rétroéclairage P7 (allumé au niveau bas)</source>
        <translation>3: D4–D7 P0–P3, E P4, RW P5, RS P6, backlight P7 (lit when low)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="78"/>
        <source>I2C = (vide) : aucun bus I2C indiqué, %1 est utilisé</source>
        <translation>I2C = (empty): no I2C bus given, %1 is used</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="86"/>
        <source>adresse = %1 : adresse I2C illisible (en hexadécimal de 0x03 à 0x77, 0x27 ou 0x3F le plus souvent), %2 est utilisée</source>
        <translation>adresse = %1: unreadable I2C address (hexadecimal from 0x03 to 0x77, most often 0x27 or 0x3F), %2 is used</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="97"/>
        <source>brochage = %1 : brochage inconnu (1, 2 ou 3), le %2 est utilisé</source>
        <translation>brochage = %1: unknown wiring (1, 2 or 3), wiring %2 is used</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="154"/>
        <source>bus introuvable : activez l&apos;I2C (raspi-config, ou dtparam=i2c_arm=on sur un Raspberry Pi ; modprobe i2c-dev sur un PC) et vérifiez le nom du bus (i2cdetect -l)</source>
        <translation>bus not found: enable I2C (raspi-config, or dtparam=i2c_arm=on on a Raspberry Pi; modprobe i2c-dev on a PC) and check the name of the bus (i2cdetect -l)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="161"/>
        <source>accès refusé : ajoutez l&apos;utilisateur au groupe i2c, puis ouvrez une nouvelle session</source>
        <translation>access denied: add the user to the i2c group, then open a new session</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="166"/>
        <source>l&apos;adresse %1 est tenue par un pilote du noyau : retirez le dtoverlay ou le module qui la déclare (hd44780-lcd, pcf857x)</source>
        <translation>address %1 is held by a kernel driver: remove the dtoverlay or the module that declares it (hd44780-lcd, pcf857x)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="175"/>
        <source>pas de réponse à l&apos;adresse %1 : vérifiez l&apos;adresse (0x27 ou 0x3F) et le câblage</source>
        <translation>no answer at address %1: check the address (0x27 or 0x3F) and the wiring</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="181"/>
        <source>bus disparu</source>
        <translation>bus gone</translation>
    </message>
    <message>
        <location filename="../../src/drivers/I2cBackpack.cpp" line="184"/>
        <source>erreur du bus</source>
        <translation>bus error</translation>
    </message>
</context>
<context>
    <name>KernelLcdLink</name>
    <message>
        <location filename="../../src/drivers/KernelLcd.cpp" line="35"/>
        <source>périphérique introuvable : le module charlcd (hd44780, panel) est-il chargé ?</source>
        <translation>device not found: is the charlcd module (hd44780, panel) loaded?</translation>
    </message>
    <message>
        <location filename="../../src/drivers/KernelLcd.cpp" line="40"/>
        <source>accès refusé : il faut le droit d&apos;y écrire (une règle udev)</source>
        <translation>access denied: writing to it must be allowed (a udev rule)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/KernelLcd.cpp" line="43"/>
        <source>déjà ouvert par un autre programme</source>
        <translation>already opened by another program</translation>
    </message>
    <message>
        <location filename="../../src/drivers/KernelLcd.cpp" line="96"/>
        <source>écriture refusée (%1)</source>
        <translation>write refused (%1)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/KernelLcd.cpp" line="103"/>
        <source>pas ouvert</source>
        <translation>not open</translation>
    </message>
</context>
<context>
    <name>LcdWidget</name>
    <message>
        <location filename="../../src/shell/LcdWidget.cpp" line="35"/>
        <source>L&apos;afficheur à l&apos;écran</source>
        <translation>The on-screen panel</translation>
    </message>
</context>
<context>
    <name>LcddPanel</name>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="35"/>
        <source>le serveur a fermé la connexion</source>
        <translation>the server closed the connection</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="37"/>
        <source>connexion refusée (LCDd est-il lancé ?)</source>
        <translation>connection refused (is LCDd running?)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="41"/>
        <source>réseau inaccessible</source>
        <translation>network unreachable</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="44"/>
        <source>erreur réseau</source>
        <translation>network error</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="90"/>
        <source>pas de réponse à « hello » en %1 s</source>
        <translation>no answer to &quot;hello&quot; within %1 s</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="146"/>
        <source>hôte inconnu (%1)</source>
        <translation>unknown host (%1)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="222"/>
        <location filename="../../src/drivers/LcddPanel.cpp" line="236"/>
        <source>réponse illisible</source>
        <translation>unreadable answer</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="258"/>
        <source>réponse inattendue « %1 »</source>
        <translation>unexpected answer &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="269"/>
        <source>Serveur LCDd %1 retrouvé</source>
        <translation>LCDd server %1 found again</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="273"/>
        <source>L&apos;afficheur de LCDd n&apos;a que %1 colonnes sur %2 lignes (C = %3, L = %4) : les lignes sont coupées à sa taille</source>
        <translation>LCDd&apos;s panel has only %1 columns by %2 lines (C = %3, L = %4): the lines are cut to its size</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="312"/>
        <source>Serveur LCDd %1 perdu : %2</source>
        <translation>LCDd server %1 lost: %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/LcddPanel.cpp" line="312"/>
        <source>Serveur LCDd %1 injoignable : %2</source>
        <translation>LCDd server %1 unreachable: %2</translation>
    </message>
</context>
<context>
    <name>MatrixOrbitalLink</name>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="62"/>
        <source>périphérique introuvable : le module est-il branché ?</source>
        <translation>device not found: is the module plugged in?</translation>
    </message>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="66"/>
        <source>accès refusé : l&apos;utilisateur doit être du groupe dialout</source>
        <translation>access denied: the user must be in the dialout group</translation>
    </message>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="69"/>
        <source>déjà utilisé par un autre programme</source>
        <translation>already used by another program</translation>
    </message>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="73"/>
        <source>ce n&apos;est pas une ligne série</source>
        <translation>this is not a serial line</translation>
    </message>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="128"/>
        <source>pas ouvert</source>
        <translation>not open</translation>
    </message>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="136"/>
        <source>débranché ou en panne</source>
        <translation>unplugged or out of order</translation>
    </message>
    <message>
        <location filename="../../src/drivers/MatrixOrbital.cpp" line="137"/>
        <source>le module ne prend plus rien (vitesse = %1 ?)</source>
        <translation>the module takes nothing any more (vitesse = %1?)</translation>
    </message>
</context>
<context>
    <name>ModulePanel</name>
    <message>
        <location filename="../../src/drivers/ModulePanel.cpp" line="120"/>
        <source>%1 retrouvé</source>
        <translation>%1 found again</translation>
    </message>
    <message>
        <location filename="../../src/drivers/ModulePanel.cpp" line="122"/>
        <source>%1 inaccessible : %2</source>
        <translation>%1 unreachable: %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/ModulePanel.cpp" line="131"/>
        <source>%1 perdu : %2</source>
        <translation>%1 lost: %2</translation>
    </message>
</context>
<context>
    <name>PanelChoice</name>
    <message>
        <location filename="../../src/detect/PanelChoice.cpp" line="31"/>
        <source>%1, adresse %2</source>
        <translation>%1, address %2</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelChoice.cpp" line="34"/>
        <source>%1 %2 : %3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelChoice.cpp" line="85"/>
        <source>%1 n&apos;a pas pu être écrit dans [%2] de %3</source>
        <translation>%1 could not be written in [%2] of %3</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelChoice.cpp" line="138"/>
        <source>brochage %1 inconnu</source>
        <translation>unknown wiring %1</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelChoice.cpp" line="163"/>
        <source>Réglages écrits dans %1 : Relayeur les prend à son prochain démarrage.</source>
        <translation>Settings written in %1: Relayeur takes them at its next start.</translation>
    </message>
</context>
<context>
    <name>PanelSearch</name>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="80"/>
        <source>port série USB que vous n&apos;avez pas le droit d&apos;ouvrir (groupe dialout) : pas interrogé</source>
        <translation>USB serial port you may not open (dialout group): not asked</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="83"/>
        <source>port série USB tenu par un autre programme : pas interrogé</source>
        <translation>USB serial port held by another program: not asked</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="93"/>
        <source>module Matrix Orbital %1 (type 0x%2) à %3 bit/s</source>
        <translation>Matrix Orbital module %1 (type 0x%2) at %3 bit/s</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="96"/>
        <source>inconnu</source>
        <translation>unknown</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="126"/>
        <source>bus I2C que vous n&apos;avez pas le droit d&apos;ouvrir (groupe i2c) : il n&apos;a pas pu être interrogé</source>
        <translation>I2C bus you may not open (i2c group): it could not be asked</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="141"/>
        <location filename="../../src/detect/PanelSearch.cpp" line="187"/>
        <location filename="../../src/detect/PanelSearch.cpp" line="214"/>
        <source>l&apos;afficheur de Relayeur en marche</source>
        <translation>the panel of the running Relayeur</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="151"/>
        <source>un extenseur PCF8574%1 a répondu (broches %2)%3</source>
        <translation>a PCF8574%1 expander answered (pins %2)%3</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="157"/>
        <source>, bus « %1 »</source>
        <translation>, bus &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="216"/>
        <source>afficheur du noyau, accessible en écriture</source>
        <translation>kernel panel, writable</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="218"/>
        <source>afficheur du noyau, pas accessible en écriture pour vous (une règle udev doit vous le donner)</source>
        <translation>kernel panel, not writable for you (a udev rule must allow it)</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="228"/>
        <source>port parallèle : rien ne peut y être demandé, un afficheur HD44780 y est peut-être branché</source>
        <translation>parallel port: nothing can be asked there, an HD44780 panel may be plugged into it</translation>
    </message>
    <message>
        <location filename="../../src/detect/PanelSearch.cpp" line="287"/>
        <source>serveur LCDd, afficheur de %1x%2</source>
        <translation>LCDd server, %1x%2 panel</translation>
    </message>
</context>
<context>
    <name>Panels</name>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="39"/>
        <source>LCDd = %1 : adresse illisible (hôte:port attendu), %2:%3 est utilisé</source>
        <translation>LCDd = %1: unreadable address (host:port expected), %2:%3 is used</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="60"/>
        <source>contrast = %1 n&apos;est pas envoyé : %2</source>
        <translation>contrast = %1 is not sent: %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="71"/>
        <source>afficheur I2C %1 (%2)</source>
        <translation>I2C panel %1 (%2)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="73"/>
        <source>%1, brochage %2</source>
        <translation>%1, wiring %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="77"/>
        <source>le contraste d&apos;un module I2C se règle au potentiomètre de son adaptateur</source>
        <translation>an I2C module&apos;s contrast is set with the potentiometer of its backpack</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="86"/>
        <source>lcd = %1 : pas de contraste à régler par le noyau (il se règle sur le module), contrast = %2 n&apos;est pas envoyé</source>
        <translation>lcd = %1: no contrast to set through the kernel (it is set on the module), contrast = %2 is not sent</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="95"/>
        <source>afficheur du noyau %1</source>
        <translation>kernel panel %1</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="102"/>
        <source>vitesse = %1 : vitesse inconnue (1200, 2400, 4800, 9600, 19200, 38400, 57600 ou 115200), %2 est utilisée</source>
        <translation>vitesse = %1: unknown speed (1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200), %2 is used</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="113"/>
        <source>module Matrix Orbital %1</source>
        <translation>Matrix Orbital module %1</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="118"/>
        <source>afficheur GPIO %1</source>
        <translation>GPIO panel %1</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="122"/>
        <source>%1, broches %2</source>
        <translation>%1, pins %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="127"/>
        <source>le contraste d&apos;un module sur GPIO se règle au potentiomètre de sa broche V0</source>
        <translation>a GPIO module&apos;s contrast is set with the potentiometer on its V0 pin</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="144"/>
        <source>à l&apos;écran</source>
        <translation>on screen</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="146"/>
        <source>série</source>
        <translation>serial</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="148"/>
        <source>parallèle</source>
        <translation>parallel</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Panels.cpp" line="156"/>
        <source>LCD du noyau</source>
        <translation>kernel LCD</translation>
    </message>
</context>
<context>
    <name>Readings</name>
    <message>
        <location filename="../../tools/relayeur-sensors/Readings.cpp" line="143"/>
        <source>aucun</source>
        <translation>none</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/Readings.cpp" line="153"/>
        <source>illisible</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/Readings.cpp" line="165"/>
        <source>%1 tr/min</source>
        <translation>%1 rpm</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/Readings.cpp" line="300"/>
        <source>%1 : introuvable</source>
        <translation>%1: not found</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/Readings.cpp" line="318"/>
        <source>%1 « %2 »</source>
        <translation>%1 &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>SensorsIni</name>
    <message>
        <location filename="../../tools/relayeur-sensors/SensorsIni.cpp" line="27"/>
        <source>%1 illisible : ordre par défaut</source>
        <translation>%1 unreadable: default order</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/SensorsIni.cpp" line="36"/>
        <source>%1 : pas de section [capteurs] : ordre par défaut</source>
        <translation>%1: no [capteurs] section: default order</translation>
    </message>
</context>
<context>
    <name>SerialPanel</name>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="26"/>
        <source>périphérique débranché ou en panne</source>
        <translation>device unplugged or out of order</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="34"/>
        <source>périphérique introuvable</source>
        <translation>device not found</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="38"/>
        <source>accès refusé ou port déjà utilisé</source>
        <translation>access denied or port already in use</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="44"/>
        <source>réglage 9600,n,8,1 refusé</source>
        <translation>setting 9600,n,8,1 refused</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="46"/>
        <source>erreur</source>
        <translation>error</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="53"/>
        <source>erreur d&apos;écriture</source>
        <translation>write error</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="123"/>
        <source>Port série %1 retrouvé</source>
        <translation>Serial port %1 found again</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="132"/>
        <source>Port série : aucun périphérique (COM ou [ports] de param.ini)</source>
        <translation>Serial port: no device (COM or [ports] of param.ini)</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="139"/>
        <source>Port série %1 inaccessible : %2</source>
        <translation>Serial port %1 unreachable: %2</translation>
    </message>
    <message>
        <location filename="../../src/drivers/Serie.cpp" line="200"/>
        <source>Port série %1 perdu : %2</source>
        <translation>Serial port %1 lost: %2</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <location filename="../../src/about/frmAbout.cpp" line="91"/>
        <source>À propos de %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <location filename="../../src/about/frmAbout.cpp" line="93"/>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <location filename="../../src/about/frmAbout.cpp" line="140"/>
        <source>mailto : %1</source>
        <translation>mailto: %1</translation>
    </message>
    <message>
        <location filename="../../src/about/frmAbout.cpp" line="149"/>
        <source>A propos de %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <location filename="../../src/about/frmAbout.cpp" line="213"/>
        <source>Les informations système ne sont pas disponibles actuellement</source>
        <translation>System information is not available at the moment</translation>
    </message>
</context>
<context>
    <name>relayeur-send</name>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="19"/>
        <source>Usage : relayeur-send [options] TEXTE MODE LIGNE
        relayeur-send [options] --raw OCTETS
Met TEXTE sur la ligne LIGNE (0 à 3, 0 en haut) de l&apos;afficheur du Relayeur en cours,
avec le mode de défilement MODE (0 fixe, 1 aller-retour, 2 vers la gauche,
3 vers la droite, 4 bargraphe). Le texte passe en Windows-1252. Sans --hold, la page
suivante remplace la ligne dès qu&apos;elle diffère.

  --hold SECONDES
                 la ligne garde le texte SECONDES secondes (0 à 86400) quelles que
                 soient les pages, puis la page en cours reprend sa ligne ; 0 : comme
                 sans --hold
  --raw OCTETS   envoie OCTETS tels quels comme contenu du message ; \xHH y désigne
                 un octet quelconque, \\ une barre oblique inverse
  --dwdata N     la valeur dwData du message (3 par défaut, 4 avec --hold)
  --window HEX   le Relayeur dont la fenêtre porte cet identifiant (le nombre en bas à
                 droite de sa fenêtre) ; par défaut, le Relayeur de cet utilisateur
  --help         affiche cette aide

Code de sortie : 0 ligne changée, 1 aucun Relayeur ne répond, 2 commande incorrecte,
3 message laissé de côté par Relayeur.
</source>
        <translation>Usage: relayeur-send [options] TEXT MODE LINE
       relayeur-send [options] --raw BYTES
Puts TEXT on line LINE (0 to 3, 0 at the top) of the panel of the running Relayeur,
with the scroll mode MODE (0 fixed, 1 back and forth, 2 to the left,
3 to the right, 4 bargraph). The text is converted to Windows-1252. Without --hold, the
next page replaces the line as soon as it differs.

  --hold SECONDS
                 the line keeps the text for SECONDS seconds (0 to 86400) whatever
                 the pages, then the current page takes its line back; 0: as
                 without --hold
  --raw BYTES    sends BYTES as they are as the message&apos;s content; \xHH in it stands
                 for any byte, \\ for a backslash
  --dwdata N     the message&apos;s dwData value (3 by default, 4 with --hold)
  --window HEX   the Relayeur whose window bears this identifier (the number at the
                 bottom right of its window); by default, this user&apos;s Relayeur
  --help         shows this help

Exit status: 0 line changed, 1 no Relayeur answers, 2 wrong command,
3 message set aside by Relayeur.
</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="52"/>
        <source>relayeur-send : %1</source>
        <translation>relayeur-send: %1</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="139"/>
        <source>échappement incorrect (\xHH ou \\ attendu)</source>
        <translation>wrong escape (\xHH or \\ expected)</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="148"/>
        <source>un nombre de secondes de 0 à %1 est attendu</source>
        <translation>a number of seconds from 0 to %1 is expected</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="157"/>
        <source>un nombre de 0 à 4294967295 est attendu</source>
        <translation>a number from 0 to 4294967295 is expected</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="168"/>
        <source>un identifiant hexadécimal est attendu</source>
        <translation>a hexadecimal identifier is expected</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="182"/>
        <source>--raw ne se combine pas avec TEXTE MODE LIGNE</source>
        <translation>--raw does not go with TEXT MODE LINE</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="196"/>
        <source>le texte n&apos;est lisible ni dans l&apos;encodage de la locale ni en UTF-8</source>
        <translation>the text is readable neither in the locale&apos;s encoding nor in UTF-8</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="201"/>
        <source>MODE : un chiffre de 0 à 4 est attendu</source>
        <translation>MODE: a digit from 0 to 4 is expected</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="204"/>
        <source>LIGNE : un chiffre de 0 à 3 est attendu</source>
        <translation>LINE: a digit from 0 to 3 is expected</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="215"/>
        <source>aucun Relayeur ne peut être joint : %1</source>
        <translation>no Relayeur can be reached: %1</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="223"/>
        <source>aucun Relayeur ne tourne pour cet utilisateur (rien n&apos;écoute sur %1)</source>
        <translation>no Relayeur is running for this user (nothing listens on %1)</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="227"/>
        <source>aucun Relayeur n&apos;a la fenêtre %1 (rien n&apos;écoute sur %2)</source>
        <translation>no Relayeur has window %1 (nothing listens on %2)</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="237"/>
        <source>Relayeur n&apos;a pas répondu : le message est trop long (plus de %1 octets) ou Relayeur s&apos;est arrêté</source>
        <translation>Relayeur did not answer: the message is too long (more than %1 bytes) or Relayeur has stopped</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-send/main.cpp" line="244"/>
        <source>Relayeur a laissé le message de côté : il faut dwData 3 (ou 4 après --hold, que seul un Relayeur récent connaît) et, dans les 255 premiers octets, un texte suivi du chiffre du mode et de celui de la ligne (0 à 3) ; son journal dit pourquoi</source>
        <translation>Relayeur set the message aside: it needs dwData 3 (or 4 after --hold, which only a recent Relayeur knows) and, in the first 255 bytes, a text followed by the mode&apos;s digit and the line&apos;s (0 to 3); its log says why</translation>
    </message>
</context>
<context>
    <name>relayeur-sensors</name>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="24"/>
        <source>Usage : relayeur-sensors [options]
Publie chaque seconde les capteurs de cette machine (températures, tensions, ventilateurs,
fréquence et charge du processeur) dans le bloc partagé que lit Relayeur. Les capteurs
sont lus par libsensors ; sensors.ini dit lequel va dans quel emplacement.

  --list             affiche les capteurs vus et l&apos;emplacement de chacun, sans publier
  --once             écrit un seul relevé, l&apos;affiche et laisse le bloc en place
  --remove           retire le bloc et s&apos;arrête, sauf si un relayeur-sensors le publie
  --name NOM         nom du bloc (par défaut /$M$B$M$5$D$)
  --config FICHIER   les emplacements des capteurs (par défaut
                     $XDG_CONFIG_HOME/relayeur/sensors.ini)
  --hwmon DOSSIER    lit les capteurs dans cette arborescence hwmon plutôt que par
                     libsensors (une copie de /sys/class/hwmon, des essais)
  --help             affiche cette aide

Un seul relayeur-sensors publie un bloc : une deuxième copie s&apos;arrête sans y toucher.
Ctrl+C (SIGINT) ou SIGTERM arrête la publication et retire le bloc qu&apos;elle a créé.
</source>
        <translation>Usage: relayeur-sensors [options]
Publishes every second this machine&apos;s sensors (temperatures, voltages, fans,
processor frequency and load) in the shared block that Relayeur reads. The sensors
are read through libsensors; sensors.ini says which one goes in which slot.

  --list             shows the sensors seen and the slot of each, without publishing
  --once             writes a single reading, shows it and leaves the block in place
  --remove           removes the block and stops, unless a relayeur-sensors publishes it
  --name NAME        name of the block (by default /$M$B$M$5$D$)
  --config FILE      the slots of the sensors (by default
                     $XDG_CONFIG_HOME/relayeur/sensors.ini)
  --hwmon FOLDER     reads the sensors in this hwmon tree rather than through
                     libsensors (a copy of /sys/class/hwmon, for tests)
  --help             shows this help

Only one relayeur-sensors publishes a block: a second copy stops without touching it.
Ctrl+C (SIGINT) or SIGTERM stops the publication and removes the block it created.
</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="65"/>
        <source>relayeur-sensors : %1</source>
        <translation>relayeur-sensors: %1</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="159"/>
        <source>Relevé écrit dans %1 :</source>
        <translation>Reading written in %1:</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="168"/>
        <source>  fan%1 = %2 tr/min</source>
        <translation>  fan%1 = %2 rpm</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="172"/>
        <source>  fréquence = %1 MHz</source>
        <translation>  frequency = %1 MHz</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="173"/>
        <source>  charge = %1 %</source>
        <translation>  load = %1 %</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="179"/>
        <source>%1 : aucun</source>
        <translation>%1: none</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="180"/>
        <source>%1 :</source>
        <translation>%1:</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="186"/>
        <source>Emplacements (%1) : aucun</source>
        <translation>Slots (%1): none</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="188"/>
        <source>Emplacements (%1) :</source>
        <translation>Slots (%1):</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="197"/>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="235"/>
        <source>Bloc %1 retiré.</source>
        <translation>Block %1 removed.</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="201"/>
        <source>Aucun bloc %1 à retirer.</source>
        <translation>No block %1 to remove.</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="206"/>
        <source>le bloc %1 est publié par un relayeur-sensors en cours : arrêtez-le d&apos;abord</source>
        <translation>block %1 is published by a running relayeur-sensors: stop it first</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="213"/>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="231"/>
        <source>impossible de retirer le bloc %1 : %2</source>
        <translation>cannot remove block %1: %2</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="222"/>
        <source>Bloc %1 laissé en place : il existait avant cette publication (relayeur-sensors --remove pour le retirer).</source>
        <translation>Block %1 left in place: it existed before this publication (relayeur-sensors --remove removes it).</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="243"/>
        <source>écriture du bloc %1 impossible : %2</source>
        <translation>cannot write block %1: %2</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="278"/>
        <source>libsensors ne démarre pas : %1</source>
        <translation>libsensors does not start: %1</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="293"/>
        <source>Capteurs vus par libsensors</source>
        <translation>Sensors seen by libsensors</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="294"/>
        <source>Capteurs sous %1</source>
        <translation>Sensors under %1</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="298"/>
        <source>ordre par défaut, %1 absent</source>
        <translation>default order, %1 missing</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="316"/>
        <source>un autre relayeur-sensors publie déjà le bloc %1 : celui-ci s&apos;arrête sans y toucher</source>
        <translation>another relayeur-sensors already publishes block %1: this one stops without touching it</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="324"/>
        <source>impossible de créer le bloc %1 : %2</source>
        <translation>cannot create block %1: %2</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="332"/>
        <source>Aucun capteur matériel (%1) : seules la charge et la fréquence du processeur sont publiées.</source>
        <translation>No hardware sensor (%1): only the processor load and frequency are published.</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="338"/>
        <source>%1 capteur(s) de plus que les dix emplacements de leur sorte : non publiés.</source>
        <translation>%1 sensor(s) beyond the ten slots of their kind: not published.</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="344"/>
        <source>%1 capteur(s) illisible(s) : non publiés.</source>
        <translation>%1 unreadable sensor(s): not published.</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="353"/>
        <source>Le bloc reste en place (relayeur-sensors --remove pour le retirer).</source>
        <translation>The block stays in place (relayeur-sensors --remove removes it).</translation>
    </message>
    <message>
        <location filename="../../tools/relayeur-sensors/main.cpp" line="358"/>
        <source>Publication chaque seconde dans le bloc %1 ; Ctrl+C pour arrêter.</source>
        <translation>Publishing every second in block %1; Ctrl+C to stop.</translation>
    </message>
</context>
</TS>
