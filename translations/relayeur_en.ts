<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr_FR">
<context>
    <name>CommandLine</name>
    <message>
        <source>--detecter se combine avec --config-dir seulement</source>
        <translation>--detecter goes with --config-dir only</translation>
    </message>
    <message>
        <source>Utilisation : relayeur [options]
Relayeur : affiche des informations en direct sur un afficheur LCD.

Options :
  --config-dir DOSSIER  dossier de param.ini, jamais créé ni rempli (par défaut : le
                        dossier du programme s&apos;il contient param.ini, sinon
                        $XDG_CONFIG_HOME/relayeur, créé au premier lancement avec des
                        réglages et des profils d&apos;exemple)
  --profile FICHIER     charge ce profil .tlcd une fois le démarrage fini (la liste des
                        profils récents ne change pas)
  --start               appuie ensuite une fois sur « Envoyer sur le LCD ! »
  --minimized           démarre caché derrière l&apos;icône de la zone de notification
                        (réduit dans la barre des tâches quand il n&apos;y en a pas)
  --quiet               pas de boîte de message : chacune va sur la sortie d&apos;erreur,
                        sur une ligne
  --print-log           écrit aussi chaque ligne du journal sur la sortie standard
  --terminal            sans fenêtre : l&apos;afficheur à l&apos;écran (TypeLCD=1) est dessiné
                        dans le terminal sous une ligne qui nomme le profil et la page,
                        le journal de --print-log défile au-dessus ; les boîtes de
                        message vont sur la sortie d&apos;erreur
  --editer FICHIER      ouvre ce profil dans l&apos;éditeur de profil une fois le
                        démarrage fini ; un fichier qui n&apos;existe pas encore donne un
                        nouveau profil, enregistré sous ce nom (pas avec --terminal)
  --detecter            cherche les afficheurs que la machine atteint (I2C, USB série,
                        /dev/lcd, port parallèle, LCDd), les liste avec les réglages
                        qui les pilotent et, après vos réponses (des numéros), écrit
                        ceux de l&apos;afficheur choisi dans param.ini ; rien n&apos;est écrit
                        sur un afficheur que vous n&apos;avez pas choisi. Se combine avec
                        --config-dir seulement
  --version             affiche la version
  -h, --help            affiche cette aide
</source>
        <translation>Usage: relayeur [options]
Relayeur: shows live information on an LCD panel.

Options:
  --config-dir FOLDER   folder of param.ini, never made nor filled (by default: the
                        program&apos;s folder if it holds param.ini, else
                        $XDG_CONFIG_HOME/relayeur, made at the first run with example
                        settings and profiles)
  --profile FILE        loads this .tlcd profile once start-up is over (the list of
                        recent profiles does not change)
  --start               then presses &quot;Send to the LCD!&quot; once
  --minimized           starts hidden behind the icon in the notification area
                        (minimized to the taskbar when there is none)
  --quiet               no message box: each goes to standard error, on one line
  --print-log           also writes each line of the log to standard output
  --terminal            no window: the on-screen panel (TypeLCD=1) is drawn in the
                        terminal under a line naming the profile and the page, the
                        log of --print-log scrolls above it; message boxes go to
                        standard error
  --editer FILE         opens this profile in the profile editor once start-up is
                        over; a file that does not exist yet gives a new profile,
                        saved under that name (not with --terminal)
  --detecter            looks for the panels this machine reaches (I2C, USB serial,
                        /dev/lcd, parallel port, LCDd), lists them with the settings
                        that drive them and, after your answers (numbers), writes
                        those of the chosen panel into param.ini; nothing is written
                        to a panel you have not chosen. Goes with --config-dir only
  --version             shows the version
  -h, --help            shows this help
</translation>
    </message>
    <message>
        <source>--editer ouvre une fenêtre : il ne se combine pas avec --terminal</source>
        <translation>--editer opens a window: it does not go with --terminal</translation>
    </message>
</context>
<context>
    <name>CommandLineParser</name>
    <message>
        <source>option inconnue : %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>argument inattendu : %1</source>
        <translation>unexpected argument: %1</translation>
    </message>
    <message>
        <source>l&apos;option %1 ne prend pas de valeur</source>
        <translation>the option %1 takes no value</translation>
    </message>
    <message>
        <source>il manque une valeur après %1</source>
        <translation>a value is missing after %1</translation>
    </message>
    <message>
        <source>%1 : %2
%1 --help donne la liste des options.
</source>
        <translation>%1: %2
%1 --help lists the options.
</translation>
    </message>
</context>
<context>
    <name>DetectConsole</name>
    <message>
        <source>« %1 » : un nombre de 0 à %2 est attendu.</source>
        <translation>&quot;%1&quot;: a number from 0 to %2 is expected.</translation>
    </message>
    <message>
        <source>Chaque brochage est essayé à son tour : « Relayeur » en ligne 1, le brochage en ligne 2.</source>
        <translation>Each wiring is tried in turn: &quot;Relayeur&quot; on line 1, the wiring on line 2.</translation>
    </message>
    <message>
        <source>Brochage %1 essayé.</source>
        <translation>Wiring %1 tried.</translation>
    </message>
    <message>
        <source>Brochage %1 : l&apos;afficheur n&apos;a pas pu être écrit (%2).</source>
        <translation>Wiring %1: the panel could not be written to (%2).</translation>
    </message>
    <message>
        <source>Numéro du brochage qui s&apos;affiche bien (Entrée : essayer le suivant, 0 : aucun) : </source>
        <translation>Number of the wiring that shows correctly (Enter: try the next one, 0: none): </translation>
    </message>
    <message>
        <source>Recherche des afficheurs…</source>
        <translation>Looking for panels…</translation>
    </message>
    <message>
        <source>(à essayer)</source>
        <translation>(to be tried)</translation>
    </message>
    <message>
        <source>Aucun afficheur trouvé.</source>
        <translation>No panel found.</translation>
    </message>
    <message>
        <source>Aucun afficheur utilisable trouvé.</source>
        <translation>No usable panel found.</translation>
    </message>
    <message>
        <source>Numéro de l&apos;afficheur à utiliser (Entrée : aucun) : </source>
        <translation>Number of the panel to use (Enter: none): </translation>
    </message>
    <message>
        <source>Aucun afficheur choisi : rien n&apos;est écrit.</source>
        <translation>No panel chosen: nothing is written.</translation>
    </message>
    <message>
        <source>Aucun brochage ne convient : rien n&apos;est écrit.</source>
        <translation>No wiring fits: nothing is written.</translation>
    </message>
    <message>
        <source>Utiliser %1 ? (1 : oui, 0 : non) : </source>
        <translation>Use %1? (1: yes, 0: no): </translation>
    </message>
    <message>
        <source>Rien n&apos;est écrit.</source>
        <translation>Nothing is written.</translation>
    </message>
    <message>
        <source>Erreur : %1</source>
        <translation>Error: %1</translation>
    </message>
</context>
<context>
    <name>DetectDialog</name>
    <message>
        <source>Détecter l&apos;afficheur</source>
        <translation>Detect the panel</translation>
    </message>
    <message>
        <source>Recherche des afficheurs…</source>
        <translation>Looking for panels…</translation>
    </message>
    <message>
        <source>Brochage du module I2C</source>
        <translation>Wiring of the I2C module</translation>
    </message>
    <message>
        <source>&amp;Chercher de nouveau</source>
        <translation>&amp;Search again</translation>
    </message>
    <message>
        <source>&amp;Utiliser cet afficheur</source>
        <translation>&amp;Use this panel</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;%1 Essayer</source>
        <translation>&amp;%1 Try</translation>
    </message>
    <message>
        <source>Ça s&apos;affiche bien</source>
        <translation>It shows correctly</translation>
    </message>
    <message>
        <source>&amp;Aucun ne s&apos;affiche bien</source>
        <translation>&amp;None shows correctly</translation>
    </message>
    <message>
        <source>Utiliser %1 ?</source>
        <translation>Use %1?</translation>
    </message>
    <message>
        <source>%1 — l&apos;envoi sur le LCD est en cours : il est laissé tel quel</source>
        <translation>%1 — Relayeur is sending to it: it is left alone</translation>
    </message>
    <message>
        <source>Aucun afficheur trouvé.</source>
        <translation>No panel found.</translation>
    </message>
    <message>
        <source>Aucun afficheur utilisable trouvé.</source>
        <translation>No usable panel found.</translation>
    </message>
    <message>
        <source>Choisissez l&apos;afficheur à utiliser.</source>
        <translation>Choose the panel to use.</translation>
    </message>
    <message>
        <source>Brochage %1 essayé : l&apos;afficheur montre-t-il « Relayeur » et le brochage ?</source>
        <translation>Wiring %1 tried: does the panel show &quot;Relayeur&quot; and the wiring?</translation>
    </message>
    <message>
        <source>Brochage %1 : l&apos;afficheur n&apos;a pas pu être écrit (%2).</source>
        <translation>Wiring %1: the panel could not be written to (%2).</translation>
    </message>
    <message>
        <source>Aucun brochage ne convient : rien n&apos;est écrit.</source>
        <translation>No wiring fits: nothing is written.</translation>
    </message>
    <message>
        <source>Erreur : %1</source>
        <translation>Error: %1</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>Messages des autres programmes indisponibles : %1</source>
        <translation>Messages from other programs unavailable: %1</translation>
    </message>
    <message>
        <source>Lignes = %1 : l&apos;afficheur a de 1 à 4 lignes, %2 sont utilisées</source>
        <translation>Lines = %1: the panel has 1 to 4 lines, %2 are used</translation>
    </message>
    <message>
        <source>TypeLCD = %1 ne désigne aucun afficheur (%2) : rien ne sera affiché</source>
        <translation>TypeLCD = %1 names no panel (%2): nothing will be shown</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire %1 : la liste des profils récents n&apos;est pas mise à jour</source>
        <translation>Cannot write %1: the list of recent profiles is not updated</translation>
    </message>
    <message>
        <source>%1 : adresse illisible (hôte:port attendu), pas de serveur LCDd</source>
        <translation>%1: unreadable address (host:port expected), no LCDd server</translation>
    </message>
    <message>
        <source>%1 : c&apos;est aussi l&apos;adresse de l&apos;afficheur LCDd (TypeLCD = 4), pas de serveur LCDd</source>
        <translation>%1: this is also the address of the LCDd panel (TypeLCD = 4), no LCDd server</translation>
    </message>
    <message>
        <source>Serveur LCDd indisponible : %1 (un autre serveur, LCDd peut-être, y est déjà : [serveur] LCDd peut en prendre un autre)</source>
        <translation>LCDd server unavailable: %1 (another server, LCDd perhaps, is already there: [serveur] LCDd can take another one)</translation>
    </message>
    <message>
        <source>Serveur LCDd indisponible : %1</source>
        <translation>LCDd server unavailable: %1</translation>
    </message>
    <message>
        <source>Serveur LCDd : à l&apos;écoute sur %1</source>
        <translation>LCDd server: listening on %1</translation>
    </message>
    <message>
        <source>Serveur LCDd : à l&apos;écoute sur %1, ouvert aux autres machines du réseau</source>
        <translation>LCDd server: listening on %1, open to the other machines of the network</translation>
    </message>
    <message>
        <source>Client LCDd connecté depuis %1</source>
        <translation>LCDd client connected from %1</translation>
    </message>
    <message>
        <source>Client LCDd %1 : se nomme « %2 »</source>
        <translation>LCDd client %1: calls itself “%2”</translation>
    </message>
    <message>
        <source>« %1 »</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>Client LCDd %1 parti</source>
        <translation>LCDd client %1 left</translation>
    </message>
    <message>
        <source>Client LCDd %1 déconnecté : %2</source>
        <translation>LCDd client %1 disconnected: %2</translation>
    </message>
    <message>
        <source>Client LCDd de %1 refusé : %2</source>
        <translation>LCDd client from %1 refused: %2</translation>
    </message>
    <message>
        <source>reprendre = 1 : la liste des profils récents est vide, aucun profil n&apos;est repris</source>
        <translation>reprendre = 1: the list of recent profiles is empty, no profile is resumed</translation>
    </message>
    <message>
        <source>Essai sur l&apos;afficheur de la page en cours d&apos;édition</source>
        <translation>Trying the page being edited on the display</translation>
    </message>
    <message>
        <source>Fin de l&apos;essai sur l&apos;afficheur</source>
        <translation>End of the trial on the display</translation>
    </message>
    <message>
        <source>L&apos;afficheur se réveille</source>
        <translation>The panel wakes up</translation>
    </message>
    <message>
        <source>L&apos;afficheur se met en veille : %1</source>
        <translation>The panel goes to sleep: %1</translation>
    </message>
    <message>
        <source>MQTT indisponible : %1</source>
        <translation>MQTT unavailable: %1</translation>
    </message>
    <message>
        <source>Home Assistant : la ligne %1 revient à la page</source>
        <translation>Home Assistant: line %1 goes back to the page</translation>
    </message>
    <message>
        <source>Home Assistant : la ligne %1 garde « %2 » jusqu&apos;à ce qu&apos;on l&apos;efface</source>
        <translation>Home Assistant: line %1 keeps “%2” until it is cleared</translation>
    </message>
</context>
<context>
    <name>F_Interface</name>
    <message>
        <source>TLCD - Relayeur</source>
        <translation>TLCD - Relayeur</translation>
    </message>
    <message>
        <source>Pour plus de détails : double cliquez sur la ligne</source>
        <translation>For more details: double-click the line</translation>
    </message>
    <message>
        <source>Profile :</source>
        <translation>Profile:</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Rafraîchissement :</source>
        <translation>Refresh:</translation>
    </message>
    <message>
        <source>Envoyer sur le LCD !</source>
        <translation>Send to the LCD!</translation>
    </message>
    <message>
        <source>Arréter sur le LCD !</source>
        <translation>Stop sending to the LCD!</translation>
    </message>
    <message>
        <source>Label2</source>
        <translation>Label2</translation>
    </message>
    <message>
        <source>Identifiant de la fenêtre, pour les programmes qui envoient une ligne</source>
        <translation>Window identifier, for the programs that send a line</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Systray</source>
        <translation>Systray</translation>
    </message>
    <message>
        <source>&amp;Ouvrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Modifier le profil…</source>
        <translation>&amp;Edit the profile…</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>&amp;Détecter l&apos;afficheur…</source>
        <translation>&amp;Detect the display…</translation>
    </message>
    <message>
        <source>&amp;Quiter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;About ...</source>
        <translation>&amp;About ...</translation>
    </message>
    <message>
        <source>Restaurer</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Ouvrir un profil</source>
        <translation>Open a profile</translation>
    </message>
    <message>
        <source>Fichiers Relayeur (*.tlcd)</source>
        <translation>Relayeur files (*.tlcd)</translation>
    </message>
    <message>
        <source>Aucun profil choisi dans la liste : rien n&apos;est chargé</source>
        <translation>No profile chosen in the list: nothing is loaded</translation>
    </message>
    <message>
        <source>Rafraîchissement : %1 ms</source>
        <translation>Refresh: %1 ms</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Détail de la ligne : 
<byte value="xd"/>%1</source>
        <translation>Line in full: 
<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>Enregistrer le profil</source>
        <translation>Save the profile</translation>
    </message>
</context>
<context>
    <name>FirstRun</name>
    <message>
        <source>Premier lancement : %1 créé avec les réglages et les profils d&apos;exemple de %2</source>
        <translation>First run: %1 made with the example settings and profiles of %2</translation>
    </message>
    <message>
        <source>Premier lancement : %1</source>
        <translation>First run: %1</translation>
    </message>
    <message>
        <source>Premier lancement : impossible d&apos;écrire la liste des profils récents dans %1</source>
        <translation>First run: cannot write the list of recent profiles into %1</translation>
    </message>
</context>
<context>
    <name>GpioModule</name>
    <message>
        <source>RS,E,D4,D5,D6,D7[,BL[,E2]], par exemple 7,8,25,24,23,18,15</source>
        <translation>RS,E,D4,D5,D6,D7[,BL[,E2]], for example 7,8,25,24,23,18,15</translation>
    </message>
    <message>
        <source>broches = %1 : %2</source>
        <translation>broches = %1: %2</translation>
    </message>
    <message>
        <source>broches = (vide) : aucune ligne GPIO indiquée (%1)</source>
        <translation>broches = (empty): no GPIO line given (%1)</translation>
    </message>
    <message>
        <source>6 à 8 numéros de ligne attendus, %1 donnés (%2)</source>
        <translation>6 to 8 line numbers expected, %1 given (%2)</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un numéro de ligne (%2)</source>
        <translation>&quot;%1&quot; is not a line number (%2)</translation>
    </message>
    <message>
        <source>la ligne %1 est donnée deux fois</source>
        <translation>line %1 is given twice</translation>
    </message>
    <message>
        <source>, rétroéclairage %1</source>
        <translation>, backlight %1</translation>
    </message>
    <message>
        <source>broches = %1 : un afficheur %2x%3 a deux contrôleurs, ajoutez la ligne de E2 après BL (%4,E2)</source>
        <translation>broches = %1: a %2x%3 panel has two controllers, add the line of E2 after BL (%4,E2)</translation>
    </message>
    <message>
        <source>broches = %1 : la ligne %2 n&apos;existe pas, %3 a %4 lignes (0 à %5)</source>
        <translation>broches = %1: line %2 does not exist, %3 has %4 lines (0 to %5)</translation>
    </message>
    <message>
        <source>%1 introuvable : vérifiez le nom de la puce (gpiodetect la liste)</source>
        <translation>%1 not found: check the name of the chip (gpiodetect lists them)</translation>
    </message>
    <message>
        <source>accès refusé à %1 : ajoutez l&apos;utilisateur au groupe gpio (ou une règle udev), puis ouvrez une nouvelle session</source>
        <translation>access to %1 denied: add the user to the gpio group (or a udev rule), then open a new session</translation>
    </message>
    <message>
        <source>%1 n&apos;est pas une puce GPIO, ou a disparu</source>
        <translation>%1 is not a GPIO chip, or has gone</translation>
    </message>
    <message>
        <source>erreur de la puce GPIO %1</source>
        <translation>error of GPIO chip %1</translation>
    </message>
    <message>
        <source>la ligne %1 est déjà prise (par « %2 » : un autre programme ou un pilote du noyau s&apos;en sert ; libérez-la ou changez broches)</source>
        <translation>line %1 is already taken (by &quot;%2&quot;: another program or a kernel driver uses it; free it or change broches)</translation>
    </message>
</context>
<context>
    <name>I2cBackpack</name>
    <message>
        <source>1 : RS P0, RW P1, E P2, rétroéclairage P3 (allumé au niveau haut), D4–D7 P4–P7</source>
        <translation>1: RS P0, RW P1, E P2, backlight P3 (lit when high), D4–D7 P4–P7</translation>
    </message>
    <message>
        <source>2 : D4–D7 P0–P3, RS P4, RW P5, E P6, rétroéclairage P7 (allumé au niveau bas)</source>
        <translation>2: D4–D7 P0–P3, RS P4, RW P5, E P6, backlight P7 (lit when low)</translation>
    </message>
    <message>
        <source>3 : D4–D7 P0–P3, E P4, RW P5, RS P6, rétroéclairage P7 (allumé au niveau bas)</source>
        <translation>3: D4–D7 P0–P3, E P4, RW P5, RS P6, backlight P7 (lit when low)</translation>
    </message>
    <message>
        <source>I2C = (vide) : aucun bus I2C indiqué, %1 est utilisé</source>
        <translation>I2C = (empty): no I2C bus given, %1 is used</translation>
    </message>
    <message>
        <source>adresse = %1 : adresse I2C illisible (en hexadécimal de 0x03 à 0x77, 0x27 ou 0x3F le plus souvent), %2 est utilisée</source>
        <translation>adresse = %1: unreadable I2C address (hexadecimal from 0x03 to 0x77, most often 0x27 or 0x3F), %2 is used</translation>
    </message>
    <message>
        <source>brochage = %1 : brochage inconnu (1, 2 ou 3), le %2 est utilisé</source>
        <translation>brochage = %1: unknown wiring (1, 2 or 3), wiring %2 is used</translation>
    </message>
    <message>
        <source>bus introuvable : activez l&apos;I2C (raspi-config, ou dtparam=i2c_arm=on sur un Raspberry Pi ; modprobe i2c-dev sur un PC) et vérifiez le nom du bus (i2cdetect -l)</source>
        <translation>bus not found: enable I2C (raspi-config, or dtparam=i2c_arm=on on a Raspberry Pi; modprobe i2c-dev on a PC) and check the name of the bus (i2cdetect -l)</translation>
    </message>
    <message>
        <source>accès refusé : ajoutez l&apos;utilisateur au groupe i2c, puis ouvrez une nouvelle session</source>
        <translation>access denied: add the user to the i2c group, then open a new session</translation>
    </message>
    <message>
        <source>l&apos;adresse %1 est tenue par un pilote du noyau : retirez le dtoverlay ou le module qui la déclare (hd44780-lcd, pcf857x)</source>
        <translation>address %1 is held by a kernel driver: remove the dtoverlay or the module that declares it (hd44780-lcd, pcf857x)</translation>
    </message>
    <message>
        <source>pas de réponse à l&apos;adresse %1 : vérifiez l&apos;adresse (0x27 ou 0x3F) et le câblage</source>
        <translation>no answer at address %1: check the address (0x27 or 0x3F) and the wiring</translation>
    </message>
    <message>
        <source>bus disparu</source>
        <translation>bus gone</translation>
    </message>
    <message>
        <source>erreur du bus</source>
        <translation>bus error</translation>
    </message>
</context>
<context>
    <name>KernelLcdLink</name>
    <message>
        <source>périphérique introuvable : le module charlcd (hd44780, panel) est-il chargé ?</source>
        <translation>device not found: is the charlcd module (hd44780, panel) loaded?</translation>
    </message>
    <message>
        <source>accès refusé : il faut le droit d&apos;y écrire (une règle udev)</source>
        <translation>access denied: writing to it must be allowed (a udev rule)</translation>
    </message>
    <message>
        <source>déjà ouvert par un autre programme</source>
        <translation>already opened by another program</translation>
    </message>
    <message>
        <source>écriture refusée (%1)</source>
        <translation>write refused (%1)</translation>
    </message>
    <message>
        <source>pas ouvert</source>
        <translation>not open</translation>
    </message>
</context>
<context>
    <name>LcdServer</name>
    <message>
        <source>ligne de plus de %1 octets</source>
        <translation>line of more than %1 bytes</translation>
    </message>
    <message>
        <source>envoie plus vite que Relayeur ne lit</source>
        <translation>sends faster than Relayeur reads</translation>
    </message>
    <message>
        <source>ne lit plus les réponses</source>
        <translation>no longer reads the answers</translation>
    </message>
    <message>
        <source>déjà %1 clients</source>
        <translation>already %1 clients</translation>
    </message>
</context>
<context>
    <name>LcdWidget</name>
    <message>
        <source>L&apos;afficheur à l&apos;écran</source>
        <translation>The on-screen panel</translation>
    </message>
</context>
<context>
    <name>LcddPanel</name>
    <message>
        <source>le serveur a fermé la connexion</source>
        <translation>the server closed the connection</translation>
    </message>
    <message>
        <source>connexion refusée (LCDd est-il lancé ?)</source>
        <translation>connection refused (is LCDd running?)</translation>
    </message>
    <message>
        <source>réseau inaccessible</source>
        <translation>network unreachable</translation>
    </message>
    <message>
        <source>erreur réseau</source>
        <translation>network error</translation>
    </message>
    <message>
        <source>pas de réponse à « hello » en %1 s</source>
        <translation>no answer to &quot;hello&quot; within %1 s</translation>
    </message>
    <message>
        <source>hôte inconnu (%1)</source>
        <translation>unknown host (%1)</translation>
    </message>
    <message>
        <source>réponse illisible</source>
        <translation>unreadable answer</translation>
    </message>
    <message>
        <source>réponse inattendue « %1 »</source>
        <translation>unexpected answer &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Serveur LCDd %1 retrouvé</source>
        <translation>LCDd server %1 found again</translation>
    </message>
    <message>
        <source>L&apos;afficheur de LCDd n&apos;a que %1 colonnes sur %2 lignes (C = %3, L = %4) : les lignes sont coupées à sa taille</source>
        <translation>LCDd&apos;s panel has only %1 columns by %2 lines (C = %3, L = %4): the lines are cut to its size</translation>
    </message>
    <message>
        <source>Serveur LCDd %1 perdu : %2</source>
        <translation>LCDd server %1 lost: %2</translation>
    </message>
    <message>
        <source>Serveur LCDd %1 injoignable : %2</source>
        <translation>LCDd server %1 unreachable: %2</translation>
    </message>
</context>
<context>
    <name>LineMessage</name>
    <message>
        <source>la durée de maintien (4 octets) manque</source>
        <translation>the hold time (4 bytes) is missing</translation>
    </message>
    <message>
        <source>durée de maintien de %1 s, hors de 0 à %2 s</source>
        <translation>hold time of %1 s, outside 0 to %2 s</translation>
    </message>
    <message>
        <source>dwData %1 : ni 3 (message de ligne) ni 4 (message qui reste)</source>
        <translation>dwData %1: neither 3 (line message) nor 4 (message that stays)</translation>
    </message>
    <message>
        <source>il manque le chiffre du mode et celui de la ligne</source>
        <translation>the digit of the mode and that of the line are missing</translation>
    </message>
    <message>
        <source>le mode « %1 » n&apos;est pas un chiffre</source>
        <translation>the mode “%1” is not a digit</translation>
    </message>
    <message>
        <source>la ligne « %1 » n&apos;est pas un chiffre de 0 à 3</source>
        <translation>the line “%1” is not a digit from 0 to 3</translation>
    </message>
</context>
<context>
    <name>LineMessageLog</name>
    <message>
        <source>de %1</source>
        <translation>from %1</translation>
    </message>
    <message>
        <source>du processus %1</source>
        <translation>from process %1</translation>
    </message>
    <message>
        <source>d&apos;un programme inconnu</source>
        <translation>from an unknown program</translation>
    </message>
    <message>
        <source> (reste %1 s)</source>
        <translation> (stays %1 s)</translation>
    </message>
    <message>
        <source>Message %1 pour la ligne %2%3 : %4</source>
        <translation>Message %1 for line %2%3: %4</translation>
    </message>
    <message>
        <source>ligne %1, « %2 »</source>
        <translation>line %1, “%2”</translation>
    </message>
    <message>
        <source>Message %1 laissé de côté : %2</source>
        <translation>Message %1 set aside: %2</translation>
    </message>
    <message>
        <source>laissé de côté : %1</source>
        <translation>set aside: %1</translation>
    </message>
    <message>
        <source>… et 1 autre message (%1)</source>
        <translation>… and 1 more message (%1)</translation>
    </message>
    <message>
        <source>… et %1 autres messages (dernier : %2)</source>
        <translation>… and %1 more messages (last: %2)</translation>
    </message>
</context>
<context>
    <name>LineMessageServer</name>
    <message>
        <source>%1 : déjà utilisé par un autre programme</source>
        <translation>%1: already used by another program</translation>
    </message>
</context>
<context>
    <name>LoadProfile</name>
    <message>
        <source>%1 de la page %2 n&apos;est pas un nombre (« %3 »)</source>
        <translation>%1 of page %2 is not a number (“%3”)</translation>
    </message>
    <message>
        <source>%1 de la page %2 manque</source>
        <translation>%1 of page %2 is missing</translation>
    </message>
    <message>
        <source> : ligne fixe (0)</source>
        <translation>: fixed line (0)</translation>
    </message>
    <message>
        <source>time = %1 de la page %2 hors de 0 à 32 : ramené à %3</source>
        <translation>time = %1 of page %2 outside 0 to 32: brought back to %3</translation>
    </message>
    <message>
        <source> : 0, la page reste affichée</source>
        <translation>: 0, the page stays shown</translation>
    </message>
    <message>
        <source>next = %1 de la page %2 hors de 0 à 50 : remplacé par 0 (fin de la rotation)</source>
        <translation>next = %1 of page %2 outside 0 to 50: replaced by 0 (end of the rotation)</translation>
    </message>
    <message>
        <source> : remplacé par 0 (fin de la rotation)</source>
        <translation>: replaced by 0 (end of the rotation)</translation>
    </message>
    <message>
        <source>%1 : rien n&apos;est chargé</source>
        <translation>%1: nothing is loaded</translation>
    </message>
    <message>
        <source>Chargement du fichier de commande</source>
        <translation>Loading the command file</translation>
    </message>
    <message>
        <source>ANNULÉ</source>
        <translation>CANCELLED</translation>
    </message>
    <message>
        <source>C&apos;est un dossier, pas un profil</source>
        <translation>This is a folder, not a profile</translation>
    </message>
    <message>
        <source>Fichier introuvable ou illisible</source>
        <translation>File not found or unreadable</translation>
    </message>
    <message>
        <source>Ce fichier n&apos;a pas de section [param], ce n&apos;est pas un profil</source>
        <translation>This file has no [param] section, it is not a profile</translation>
    </message>
    <message>
        <source>La section [param] n&apos;a pas de clé nb_pages (le nombre de pages)</source>
        <translation>The [param] section has no nb_pages key (the number of pages)</translation>
    </message>
    <message>
        <source>nb_pages (« %1 ») n&apos;est pas un nombre entier</source>
        <translation>nb_pages (“%1”) is not a whole number</translation>
    </message>
    <message>
        <source>nb_pages = %1 hors de 0 à 50 : %2 page(s) lue(s)</source>
        <translation>nb_pages = %1 outside 0 to 50: %2 page(s) read</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Ligne</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Page %1 : section [page_%1] absente, ses lignes affichent Err, time et next valent 0</source>
        <translation>Page %1: section [page_%1] missing, its lines show Err, time and next are 0</translation>
    </message>
</context>
<context>
    <name>MatrixOrbitalLink</name>
    <message>
        <source>périphérique introuvable : le module est-il branché ?</source>
        <translation>device not found: is the module plugged in?</translation>
    </message>
    <message>
        <source>accès refusé : l&apos;utilisateur doit être du groupe dialout</source>
        <translation>access denied: the user must be in the dialout group</translation>
    </message>
    <message>
        <source>déjà utilisé par un autre programme</source>
        <translation>already used by another program</translation>
    </message>
    <message>
        <source>ce n&apos;est pas une ligne série</source>
        <translation>this is not a serial line</translation>
    </message>
    <message>
        <source>pas ouvert</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>débranché ou en panne</source>
        <translation>unplugged or out of order</translation>
    </message>
    <message>
        <source>le module ne prend plus rien (vitesse = %1 ?)</source>
        <translation>the module takes nothing any more (vitesse = %1?)</translation>
    </message>
</context>
<context>
    <name>ModulePanel</name>
    <message>
        <source>%1 retrouvé</source>
        <translation>%1 found again</translation>
    </message>
    <message>
        <source>%1 inaccessible : %2</source>
        <translation>%1 unreachable: %2</translation>
    </message>
    <message>
        <source>%1 perdu : %2</source>
        <translation>%1 lost: %2</translation>
    </message>
</context>
<context>
    <name>MprisModuleLink</name>
    <message>
        <source>Lecteur multimédia : module MPRIS introuvable ou illisible (%1) : aucun lecteur ne sera vu</source>
        <translation>Media player: MPRIS module not found or unreadable (%1): no player will be seen</translation>
    </message>
</context>
<context>
    <name>MqttBridge</name>
    <message>
        <source>[mqtt] serveur est vide : pas de MQTT</source>
        <translation>[mqtt] serveur is empty: no MQTT</translation>
    </message>
    <message>
        <source>[mqtt] serveur = %1 : un nom ou une adresse, puis :port de 1 à 65535 ; pas de MQTT</source>
        <translation>[mqtt] serveur = %1: a name or an address, then :port from 1 to 65535; no MQTT</translation>
    </message>
    <message>
        <source>[mqtt] tls = %1 : 0 ou 1 attendu ; pas de MQTT</source>
        <translation>[mqtt] tls = %1: 0 or 1 expected; no MQTT</translation>
    </message>
    <message>
        <source>[mqtt] mot_de_passe sans utilisateur : il n&apos;est pas utilisé</source>
        <translation>[mqtt] mot_de_passe without utilisateur: it is not used</translation>
    </message>
    <message>
        <source>[mqtt] homeassistant = %1 : 0 ou 1 attendu ; rien n&apos;est annoncé à Home Assistant</source>
        <translation>[mqtt] homeassistant = %1: 0 or 1 expected; nothing is announced to Home Assistant</translation>
    </message>
    <message>
        <source>[mqtt] machine est vide : « %1 » est pris</source>
        <translation>[mqtt] machine is empty: “%1” is used</translation>
    </message>
    <message>
        <source>%%mqtt(%1) : un sujet avec + ou # désigne plusieurs valeurs ; la variable reste telle quelle</source>
        <translation>%%mqtt(%1): a topic with + or # names several values; the variable stays as it is</translation>
    </message>
    <message>
        <source>Serveur MQTT %1 de retour</source>
        <translation>MQTT server %1 is back</translation>
    </message>
    <message>
        <source>Serveur MQTT %1 joint</source>
        <translation>MQTT server %1 reached</translation>
    </message>
    <message>
        <source>Serveur MQTT %1 perdu : %2 ; nouvel essai dans quelques secondes</source>
        <translation>MQTT server %1 lost: %2; trying again in a few seconds</translation>
    </message>
    <message>
        <source>Serveur MQTT %1 injoignable : %2 ; nouvel essai dans quelques secondes</source>
        <translation>MQTT server %1 unreachable: %2; trying again in a few seconds</translation>
    </message>
    <message>
        <source>Message MQTT retenu sur %1 laissé de côté : un message vaut pour le moment où il est envoyé</source>
        <translation>Retained MQTT message on %1 left aside: a message is for the moment it is sent</translation>
    </message>
    <message>
        <source>Message MQTT sur %1 refusé : %2</source>
        <translation>MQTT message on %1 refused: %2</translation>
    </message>
    <message>
        <source>Home Assistant : « %1 » sur %2 ne veut rien dire (ON ou OFF attendu)</source>
        <translation>Home Assistant: “%1” on %2 means nothing (ON or OFF expected)</translation>
    </message>
    <message>
        <source>Home Assistant : les entités de Relayeur annoncées auparavant sont retirées (homeassistant=1 n&apos;est plus dans [mqtt])</source>
        <translation>Home Assistant: the Relayeur entities announced before are removed (homeassistant=1 is no longer in [mqtt])</translation>
    </message>
    <message>
        <source>Message MQTT de %1 octets sur %2 laissé de côté : plus de %3 octets</source>
        <translation>MQTT message of %1 bytes on %2 left aside: more than %3 bytes</translation>
    </message>
    <message>
        <source> (et %1 autres depuis le précédent)</source>
        <translation> (and %1 others since the previous one)</translation>
    </message>
    <message>
        <source>Afficheur LCD</source>
        <translation>LCD panel</translation>
    </message>
    <message>
        <source>Ligne %1</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Envoi à l&apos;afficheur</source>
        <translation>Feed to the panel</translation>
    </message>
    <message>
        <source>Rétroéclairage</source>
        <translation>Backlight</translation>
    </message>
</context>
<context>
    <name>MqttConnection</name>
    <message>
        <source>connexion perdue</source>
        <translation>connection lost</translation>
    </message>
    <message>
        <source>nom de serveur inconnu</source>
        <translation>unknown server name</translation>
    </message>
    <message>
        <source>nom d&apos;utilisateur ou mot de passe refusé</source>
        <translation>user name or password refused</translation>
    </message>
    <message>
        <source>connexion non autorisée</source>
        <translation>connection not authorised</translation>
    </message>
    <message>
        <source>module MQTT introuvable ou illisible (%1)</source>
        <translation>MQTT module missing or unreadable (%1)</translation>
    </message>
</context>
<context>
    <name>MqttMapping</name>
    <message>
        <source>la ligne doit être 0, 1, 2 ou 3</source>
        <translation>the line must be 0, 1, 2 or 3</translation>
    </message>
    <message>
        <source>« texte » manque ou n&apos;est pas un texte</source>
        <translation>“texte” is missing or is not a text</translation>
    </message>
    <message>
        <source>« mode » doit être un chiffre de 0 à 9</source>
        <translation>“mode” must be a digit from 0 to 9</translation>
    </message>
    <message>
        <source>« hold » doit être un nombre de secondes de 1 à %1</source>
        <translation>“hold” must be a number of seconds from 1 to %1</translation>
    </message>
    <message>
        <source>message vide</source>
        <translation>empty message</translation>
    </message>
</context>
<context>
    <name>NamedValues</name>
    <message>
        <source>Valeur sans nom ignorée : %1</source>
        <translation>Value without a name left out: %1</translation>
    </message>
    <message>
        <source>Valeur %1 ignorée : %2</source>
        <translation>Value %1 left out: %2</translation>
    </message>
    <message>
        <source>« =%1 » : il faut un nom avant le signe =</source>
        <translation>“=%1”: a name is needed before the = sign</translation>
    </message>
    <message>
        <source>« %1 » ne commence ni par commande: ni par fichier:</source>
        <translation>“%1” starts with neither commande: nor fichier:</translation>
    </message>
    <message>
        <source>« %1: » n&apos;est pas un genre connu, seuls commande: et fichier: le sont</source>
        <translation>“%1:” is not a known kind; only commande: and fichier: are</translation>
    </message>
    <message>
        <source>il manque la période en secondes, après un « | » à la fin</source>
        <translation>the period in seconds is missing, after a “|” at the end</translation>
    </message>
    <message>
        <source>la période « %1 » n&apos;est pas un nombre entier de secondes de 1 à %2</source>
        <translation>the period “%1” is not a whole number of seconds from 1 to %2</translation>
    </message>
    <message>
        <source>la commande est vide</source>
        <translation>the command is empty</translation>
    </message>
    <message>
        <source>le chemin du fichier est vide</source>
        <translation>the file&apos;s path is empty</translation>
    </message>
    <message>
        <source>la lecture du fichier %1 n&apos;a pas fini après %2 s</source>
        <translation>reading the file %1 has not finished after %2 s</translation>
    </message>
    <message>
        <source>la commande n&apos;a pas pu être lancée (%1)</source>
        <translation>the command could not be started (%1)</translation>
    </message>
    <message>
        <source>la commande a échoué (code de sortie %1)</source>
        <translation>the command failed (exit status %1)</translation>
    </message>
    <message>
        <source>la commande a été arrêtée par le signal %1</source>
        <translation>the command was stopped by signal %1</translation>
    </message>
    <message>
        <source>la commande a dépassé %1 s</source>
        <translation>the command took longer than %1 s</translation>
    </message>
    <message>
        <source>le fichier %1 est introuvable</source>
        <translation>the file %1 cannot be found</translation>
    </message>
    <message>
        <source>le fichier %1 ne peut pas être lu (%2)</source>
        <translation>the file %1 cannot be read (%2)</translation>
    </message>
    <message>
        <source>la commande n&apos;a rien écrit</source>
        <translation>the command wrote nothing</translation>
    </message>
    <message>
        <source>la première ligne de %1 est vide</source>
        <translation>the first line of %1 is empty</translation>
    </message>
    <message>
        <source>Valeur %1 : de nouveau à jour</source>
        <translation>Value %1: up to date again</translation>
    </message>
    <message>
        <source>Valeur %1 : %2, la dernière valeur reste</source>
        <translation>Value %1: %2, the last value stays</translation>
    </message>
</context>
<context>
    <name>PanelChoice</name>
    <message>
        <source>%1, adresse %2</source>
        <translation>%1, address %2</translation>
    </message>
    <message>
        <source>%1 %2 : %3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>%1 n&apos;a pas pu être écrit dans [%2] de %3</source>
        <translation>%1 could not be written in [%2] of %3</translation>
    </message>
    <message>
        <source>brochage %1 inconnu</source>
        <translation>unknown wiring %1</translation>
    </message>
    <message>
        <source>Réglages écrits dans %1 : Relayeur les prend à son prochain démarrage.</source>
        <translation>Settings written in %1: Relayeur takes them at its next start.</translation>
    </message>
</context>
<context>
    <name>PanelSearch</name>
    <message>
        <source>port série USB que vous n&apos;avez pas le droit d&apos;ouvrir (groupe dialout) : pas interrogé</source>
        <translation>USB serial port you may not open (dialout group): not asked</translation>
    </message>
    <message>
        <source>port série USB tenu par un autre programme : pas interrogé</source>
        <translation>USB serial port held by another program: not asked</translation>
    </message>
    <message>
        <source>module Matrix Orbital %1 (type 0x%2) à %3 bit/s</source>
        <translation>Matrix Orbital module %1 (type 0x%2) at %3 bit/s</translation>
    </message>
    <message>
        <source>inconnu</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>bus I2C que vous n&apos;avez pas le droit d&apos;ouvrir (groupe i2c) : il n&apos;a pas pu être interrogé</source>
        <translation>I2C bus you may not open (i2c group): it could not be asked</translation>
    </message>
    <message>
        <source>l&apos;afficheur de Relayeur en marche</source>
        <translation>the panel of the running Relayeur</translation>
    </message>
    <message>
        <source>un extenseur PCF8574%1 a répondu (broches %2)%3</source>
        <translation>a PCF8574%1 expander answered (pins %2)%3</translation>
    </message>
    <message>
        <source>, bus « %1 »</source>
        <translation>, bus &quot;%1&quot;</translation>
    </message>
    <message>
        <source>afficheur du noyau, accessible en écriture</source>
        <translation>kernel panel, writable</translation>
    </message>
    <message>
        <source>afficheur du noyau, pas accessible en écriture pour vous (une règle udev doit vous le donner)</source>
        <translation>kernel panel, not writable for you (a udev rule must allow it)</translation>
    </message>
    <message>
        <source>port parallèle : rien ne peut y être demandé, un afficheur HD44780 y est peut-être branché</source>
        <translation>parallel port: nothing can be asked there, an HD44780 panel may be plugged into it</translation>
    </message>
    <message>
        <source>serveur LCDd, afficheur de %1x%2</source>
        <translation>LCDd server, %1x%2 panel</translation>
    </message>
</context>
<context>
    <name>Panels</name>
    <message>
        <source>LCDd = %1 : adresse illisible (hôte:port attendu), %2:%3 est utilisé</source>
        <translation>LCDd = %1: unreadable address (host:port expected), %2:%3 is used</translation>
    </message>
    <message>
        <source>contrast = %1 n&apos;est pas envoyé : %2</source>
        <translation>contrast = %1 is not sent: %2</translation>
    </message>
    <message>
        <source>afficheur I2C %1 (%2)</source>
        <translation>I2C panel %1 (%2)</translation>
    </message>
    <message>
        <source>%1, brochage %2</source>
        <translation>%1, wiring %2</translation>
    </message>
    <message>
        <source>le contraste d&apos;un module I2C se règle au potentiomètre de son adaptateur</source>
        <translation>an I2C module&apos;s contrast is set with the potentiometer of its backpack</translation>
    </message>
    <message>
        <source>lcd = %1 : pas de contraste à régler par le noyau (il se règle sur le module), contrast = %2 n&apos;est pas envoyé</source>
        <translation>lcd = %1: no contrast to set through the kernel (it is set on the module), contrast = %2 is not sent</translation>
    </message>
    <message>
        <source>afficheur du noyau %1</source>
        <translation>kernel panel %1</translation>
    </message>
    <message>
        <source>vitesse = %1 : vitesse inconnue (1200, 2400, 4800, 9600, 19200, 38400, 57600 ou 115200), %2 est utilisée</source>
        <translation>vitesse = %1: unknown speed (1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200), %2 is used</translation>
    </message>
    <message>
        <source>module Matrix Orbital %1</source>
        <translation>Matrix Orbital module %1</translation>
    </message>
    <message>
        <source>afficheur GPIO %1</source>
        <translation>GPIO panel %1</translation>
    </message>
    <message>
        <source>%1, broches %2</source>
        <translation>%1, pins %2</translation>
    </message>
    <message>
        <source>le contraste d&apos;un module sur GPIO se règle au potentiomètre de sa broche V0</source>
        <translation>a GPIO module&apos;s contrast is set with the potentiometer on its V0 pin</translation>
    </message>
    <message>
        <source>à l&apos;écran</source>
        <translation>on screen</translation>
    </message>
    <message>
        <source>série</source>
        <translation>serial</translation>
    </message>
    <message>
        <source>parallèle</source>
        <translation>parallel</translation>
    </message>
    <message>
        <source>LCD du noyau</source>
        <translation>kernel LCD</translation>
    </message>
</context>
<context>
    <name>PortIo</name>
    <message>
        <source>Port parallèle %1 inaccessible : %2</source>
        <translation>Parallel port %1 out of reach: %2</translation>
    </message>
    <message>
        <source>pas d&apos;accès direct aux ports sur cette machine</source>
        <translation>no direct access to the ports on this machine</translation>
    </message>
</context>
<context>
    <name>ProfileEditor</name>
    <message>
        <source>Éditeur de profil</source>
        <translation>Profile editor</translation>
    </message>
    <message>
        <source>&amp;Pages :</source>
        <translation>&amp;Pages:</translation>
    </message>
    <message>
        <source>N°</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Première ligne</source>
        <translation>First line</translation>
    </message>
    <message>
        <source>Durée</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Suivante</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>&amp;Ajouter</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>Ajoute une page après la page choisie (Ctrl+Maj+N)</source>
        <translation>Adds a page after the chosen page (Ctrl+Shift+N)</translation>
    </message>
    <message>
        <source>Dupli&amp;quer</source>
        <translation>D&amp;uplicate</translation>
    </message>
    <message>
        <source>Copie la page choisie juste après elle (Ctrl+Maj+D)</source>
        <translation>Copies the chosen page right after it (Ctrl+Shift+D)</translation>
    </message>
    <message>
        <source>Supp&amp;rimer</source>
        <translation>De&amp;lete</translation>
    </message>
    <message>
        <source>Supprime la page choisie (Ctrl+Maj+X)</source>
        <translation>Deletes the chosen page (Ctrl+Shift+X)</translation>
    </message>
    <message>
        <source>&amp;Monter</source>
        <translation>&amp;Move up</translation>
    </message>
    <message>
        <source>Avance la page d&apos;un rang (Ctrl+Maj+Haut)</source>
        <translation>Moves the page one place up (Ctrl+Shift+Up)</translation>
    </message>
    <message>
        <source>Descen&amp;dre</source>
        <translation>Move do&amp;wn</translation>
    </message>
    <message>
        <source>Recule la page d&apos;un rang (Ctrl+Maj+Bas)</source>
        <translation>Moves the page one place down (Ctrl+Shift+Down)</translation>
    </message>
    <message>
        <source>Page choisie</source>
        <translation>Chosen page</translation>
    </message>
    <message>
        <source>Ligne &amp;1 :</source>
        <translation>Line &amp;1:</translation>
    </message>
    <message>
        <source>minimum</source>
        <translation>minimum</translation>
    </message>
    <message>
        <source>Le bas de l&apos;échelle : un nombre ou une variable</source>
        <translation>The bottom of the scale: a number or a variable</translation>
    </message>
    <message>
        <source>maximum</source>
        <translation>maximum</translation>
    </message>
    <message>
        <source>Le haut de l&apos;échelle : un nombre ou une variable</source>
        <translation>The top of the scale: a number or a variable</translation>
    </message>
    <message>
        <source>valeur</source>
        <translation>value</translation>
    </message>
    <message>
        <source>La valeur montrée par la barre : un nombre ou une variable</source>
        <translation>The value the bar shows: a number or a variable</translation>
    </message>
    <message>
        <source>libellé</source>
        <translation>label</translation>
    </message>
    <message>
        <source>Le texte écrit devant la barre, facultatif</source>
        <translation>The text written before the bar, optional</translation>
    </message>
    <message>
        <source>Comment la ligne est montrée</source>
        <translation>How the line is shown</translation>
    </message>
    <message>
        <source>Fixe</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>Aller-retour</source>
        <translation>Back and forth</translation>
    </message>
    <message>
        <source>Défilement à gauche</source>
        <translation>Scroll left</translation>
    </message>
    <message>
        <source>Défilement à droite</source>
        <translation>Scroll right</translation>
    </message>
    <message>
        <source>Bargraphe</source>
        <translation>Bar graph</translation>
    </message>
    <message>
        <source>Ligne &amp;2 :</source>
        <translation>Line &amp;2:</translation>
    </message>
    <message>
        <source>Ligne &amp;3 :</source>
        <translation>Line &amp;3:</translation>
    </message>
    <message>
        <source>Ligne &amp;4 :</source>
        <translation>Line &amp;4:</translation>
    </message>
    <message>
        <source>D&amp;urée (s) :</source>
        <translation>Tim&amp;e (s):</translation>
    </message>
    <message>
        <source>reste</source>
        <translation>stays</translation>
    </message>
    <message>
        <source>Secondes pendant lesquelles la page reste ; 0 : elle reste jusqu&apos;à ce qu&apos;une autre page soit chargée</source>
        <translation>Seconds the page stays; 0: it stays until another page is loaded</translation>
    </message>
    <message>
        <source>Page &amp;suivante :</source>
        <translation>Next pa&amp;ge:</translation>
    </message>
    <message>
        <source>La page chargée quand la durée est écoulée</source>
        <translation>The page loaded when the time is up</translation>
    </message>
    <message>
        <source>&amp;Insérer une variable</source>
        <translation>&amp;Insert a variable</translation>
    </message>
    <message>
        <source>Insère une variable au curseur du dernier champ choisi (Ctrl+I)</source>
        <translation>Inserts a variable at the cursor of the last field chosen (Ctrl+I)</translation>
    </message>
    <message>
        <source>Profil</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>P&amp;lein :</source>
        <translation>&amp;Full:</translation>
    </message>
    <message>
        <source>Le texte d&apos;une case pleine d&apos;un bargraphe</source>
        <translation>The text of a full cell of a bar graph</translation>
    </message>
    <message>
        <source>&amp;Vide :</source>
        <translation>Empt&amp;y:</translation>
    </message>
    <message>
        <source>Le texte d&apos;une case vide d&apos;un bargraphe</source>
        <translation>The text of an empty cell of a bar graph</translation>
    </message>
    <message>
        <source>Ip_Local_E&amp;x :</source>
        <translation>Ip_Local_E&amp;x:</translation>
    </message>
    <message>
        <source>Le début d&apos;adresse que la variable de l&apos;adresse IP laisse de côté ; vide : aucun</source>
        <translation>The address prefix the IP address variable leaves out; empty: none</translation>
    </message>
    <message>
        <source>Aperçu :</source>
        <translation>Preview:</translation>
    </message>
    <message>
        <source>Lis&amp;te des erreurs :</source>
        <translation>Mis&amp;takes:</translation>
    </message>
    <message>
        <source>&amp;Nouveau</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Ouvrir…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>&amp;Enregistrer</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Enre&amp;gistrer sous…</source>
        <translation>Sa&amp;ve as…</translation>
    </message>
    <message>
        <source>Essa&amp;yer sur l&apos;afficheur</source>
        <translation>T&amp;ry on the display</translation>
    </message>
    <message>
        <source>Montre chaque modification sur l&apos;afficheur du programme tant que le bouton est enfoncé</source>
        <translation>Shows every change on the program&apos;s display while the button is down</translation>
    </message>
    <message>
        <source>&amp;Fermer</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>→ fin</source>
        <translation>→ end</translation>
    </message>
    <message>
        <source>→ %1</source>
        <translation>→ %1</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>aucune (arrêt)</source>
        <translation>none (stop)</translation>
    </message>
    <message>
        <source>%1 (absente)</source>
        <translation>%1 (missing)</translation>
    </message>
    <message>
        <source>Nouveau profil</source>
        <translation>New profile</translation>
    </message>
    <message>
        <source>Commencer le nouveau profil par une copie de la démonstration ou par une page vide ?</source>
        <translation>Start the new profile from a copy of the demo or from an empty page?</translation>
    </message>
    <message>
        <source>Copie de la &amp;démonstration</source>
        <translation>Copy of the &amp;demo</translation>
    </message>
    <message>
        <source>Page &amp;vide</source>
        <translation>&amp;Empty page</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Le profil n&apos;a pas pu être écrit dans %1.</source>
        <translation>The profile could not be written to %1.</translation>
    </message>
    <message>
        <source>Enregistrer les modifications de « %1 » ?</source>
        <translation>Save the changes to “%1”?</translation>
    </message>
    <message>
        <source>&amp;Ne pas enregistrer</source>
        <translation>&amp;Don&apos;t save</translation>
    </message>
    <message>
        <source>nouveau.tlcd</source>
        <translation>new.tlcd</translation>
    </message>
    <message>
        <source>Éditeur de profil — %1[*]</source>
        <translation>Profile editor — %1[*]</translation>
    </message>
    <message>
        <source>L&apos;afficheur ne montre qu&apos;une ligne : celle-ci sert aux afficheurs plus grands</source>
        <translation>The panel shows only one line: this one is for larger panels</translation>
    </message>
    <message>
        <source>L&apos;afficheur ne montre que %1 lignes : celle-ci sert aux afficheurs plus grands</source>
        <translation>The panel shows only %1 lines: this one is for larger panels</translation>
    </message>
    <message>
        <source>Le profil a une erreur. Enregistrer quand même ?</source>
        <translation>The profile has one mistake. Save it anyway?</translation>
    </message>
    <message>
        <source>Le profil a %1 erreurs. Enregistrer quand même ?</source>
        <translation>The profile has %1 mistakes. Save it anyway?</translation>
    </message>
</context>
<context>
    <name>ProfileMistakes</name>
    <message>
        <source>Page %1 : </source>
        <translation>Page %1: </translation>
    </message>
    <message>
        <source>Page %1, ligne %2 : </source>
        <translation>Page %1, line %2: </translation>
    </message>
    <message>
        <source>le minimum</source>
        <translation>the minimum</translation>
    </message>
    <message>
        <source>le maximum</source>
        <translation>the maximum</translation>
    </message>
    <message>
        <source>la valeur</source>
        <translation>the value</translation>
    </message>
    <message>
        <source>%1 du bargraphe n&apos;est pas un nombre (« %2 ») ; la ligne s&apos;écrit « minimum maximum valeur [texte] », un seul espace entre eux</source>
        <translation>%1 of the bar graph is not a number (&quot;%2&quot;); the line reads &quot;minimum maximum value [text]&quot;, with a single space between them</translation>
    </message>
    <message>
        <source>le maximum du bargraphe (%1) doit être au-dessus de son minimum (%2), de 32767 au plus</source>
        <translation>the maximum of the bar graph (%1) must be above its minimum (%2), by 32767 at most</translation>
    </message>
    <message>
        <source>l&apos;afficheur ne peut pas montrer « %1 », qui deviendra « ? »</source>
        <translation>the display cannot show &quot;%1&quot;, which will become &quot;?&quot;</translation>
    </message>
    <message>
        <source>%1 caractères, le programme n&apos;en lit que %2 : la fin sera perdue</source>
        <translation>%1 characters, the program reads only %2: the end will be lost</translation>
    </message>
    <message>
        <source>des variables sur une ligne après la grande horloge (ligne %1) l&apos;empêchent de s&apos;afficher</source>
        <translation>variables on a line after the big clock (line %1) keep it from showing</translation>
    </message>
    <message>
        <source>la durée (%1 s) doit être de 0 à %2 secondes</source>
        <translation>the duration (%1 s) must be from 0 to %2 seconds</translation>
    </message>
    <message>
        <source>la page suivante (%1) n&apos;existe pas : le profil a %2 page(s), et 0 arrête la rotation</source>
        <translation>the next page (%1) does not exist: the profile has %2 page(s), and 0 stops the rotation</translation>
    </message>
</context>
<context>
    <name>QuietHours</name>
    <message>
        <source>[silence] %1 = « %2 » : 0 ou 1 attendu, ce critère est laissé de côté</source>
        <translation>[silence] %1 = &quot;%2&quot;: 0 or 1 expected, this condition is left out</translation>
    </message>
    <message>
        <source>[silence] horaire = « %1 » : HH:MM-HH:MM attendu, l&apos;horaire est laissé de côté</source>
        <translation>[silence] horaire = &quot;%1&quot;: HH:MM-HH:MM expected, the schedule is left out</translation>
    </message>
    <message>
        <source>horaire %1</source>
        <translation>schedule %1</translation>
    </message>
    <message>
        <source>session verrouillée</source>
        <translation>session locked</translation>
    </message>
    <message>
        <source>session inactive</source>
        <translation>session idle</translation>
    </message>
    <message>
        <source>lecteur arrêté depuis plus d&apos;une minute</source>
        <translation>player stopped for more than a minute</translation>
    </message>
    <message>
        <source>rétroéclairage éteint depuis Home Assistant</source>
        <translation>backlight switched off from Home Assistant</translation>
    </message>
</context>
<context>
    <name>ReadParm</name>
    <message>
        <source>TypeLCD</source>
        <translation>TypeLCD</translation>
    </message>
    <message>
        <source>PortCOM</source>
        <translation>PortCOM</translation>
    </message>
    <message>
        <source>Colonnes</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>Lignes</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>BackLight</source>
        <translation>BackLight</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Scrolling</source>
        <translation>Scrolling</translation>
    </message>
    <message>
        <source>Répertoire winamp</source>
        <translation>Winamp folder</translation>
    </message>
    <message>
        <source>Répertoire seti</source>
        <translation>Seti folder</translation>
    </message>
    <message>
        <source>Répertoire half-life</source>
        <translation>Half-Life folder</translation>
    </message>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Erreur lors du chargement du fichier param.ini</source>
        <translation>Error while loading the param.ini file</translation>
    </message>
    <message>
        <source>ABSENT</source>
        <translation>MISSING</translation>
    </message>
    <message>
        <source>reprendre = « %1 » : 1 reprend le dernier profil au démarrage, 0 non ; il n&apos;est pas repris</source>
        <translation>reprendre = “%1”: 1 resumes the last profile at start-up, 0 does not; it is not resumed</translation>
    </message>
    <message>
        <source>caracteres = %1 : valeur inconnue (ansi, A00 ou A02 attendu), ansi est utilisé</source>
        <translation>caracteres = %1: unknown value (ansi, A00 or A02 expected), ansi is used</translation>
    </message>
    <message>
        <source>capteurs = %1 : 1 ou 0 attendu, lu comme 0</source>
        <translation>capteurs = %1: 1 or 0 expected, read as 0</translation>
    </message>
    <message>
        <source>%1 introuvable ou illisible</source>
        <translation>%1 not found or unreadable</translation>
    </message>
    <message>
        <source>%1 : la clé %2 de [parametres] vaut « %3 », pas un entier de -32768 à 32767</source>
        <translation>%1: the key %2 of [parametres] holds “%3”, not a whole number from -32768 to 32767</translation>
    </message>
    <message>
        <source>Lecture du fichier de paramètre : param.ini ...</source>
        <translation>Reading the settings file: param.ini ...</translation>
    </message>
    <message>
        <source>Lecture du fichier de paramètre : param.ini -&gt; OK</source>
        <translation>Reading the settings file: param.ini -&gt; OK</translation>
    </message>
    <message>
        <source>Test des programmes externes ...</source>
        <translation>Testing the outside programs ...</translation>
    </message>
</context>
<context>
    <name>Readings</name>
    <message>
        <source>aucun</source>
        <translation>none</translation>
    </message>
    <message>
        <source>illisible</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>%1 tr/min</source>
        <translation>%1 rpm</translation>
    </message>
    <message>
        <source>%1 : introuvable</source>
        <translation>%1: not found</translation>
    </message>
    <message>
        <source>%1 « %2 »</source>
        <translation>%1 &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>RuntimeDir</name>
    <message>
        <source>%1 est un lien symbolique</source>
        <translation>%1 is a symbolic link</translation>
    </message>
    <message>
        <source>%1 n&apos;est pas un dossier</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>%1 appartient à un autre utilisateur</source>
        <translation>%1 belongs to another user</translation>
    </message>
    <message>
        <source>%1 est ouvert aux autres utilisateurs (droits %2)</source>
        <translation>%1 is open to other users (mode %2)</translation>
    </message>
</context>
<context>
    <name>SensorsIni</name>
    <message>
        <source>%1 illisible : ordre par défaut</source>
        <translation>%1 unreadable: default order</translation>
    </message>
    <message>
        <source>%1 : pas de section [capteurs] : ordre par défaut</source>
        <translation>%1: no [capteurs] section: default order</translation>
    </message>
</context>
<context>
    <name>SensorsPublisher</name>
    <message>
        <source>Capteurs : impossible de lancer %1 : %2</source>
        <translation>Sensors: cannot start %1: %2</translation>
    </message>
    <message>
        <source>en plantant</source>
        <translation>crashing</translation>
    </message>
    <message>
        <source>code %1</source>
        <translation>code %1</translation>
    </message>
    <message>
        <source>Capteurs : relayeur-sensors s&apos;est arrêté (%1) sans publier le bloc %2</source>
        <translation>Sensors: relayeur-sensors stopped (%1) without publishing the block %2</translation>
    </message>
    <message>
        <source>Capteurs : relayeur-sensors s&apos;est arrêté (%1) : les capteurs gardent leurs dernières valeurs</source>
        <translation>Sensors: relayeur-sensors stopped (%1): the sensors keep their last values</translation>
    </message>
    <message>
        <source>Capteurs : le bloc %1 est déjà publié, relayeur-sensors n&apos;est pas lancé</source>
        <translation>Sensors: the block %1 is already published, relayeur-sensors is not started</translation>
    </message>
    <message>
        <source>Capteurs : relayeur-sensors introuvable (%1), il n&apos;est pas lancé</source>
        <translation>Sensors: relayeur-sensors not found (%1), it is not started</translation>
    </message>
    <message>
        <source>Capteurs : relayeur-sensors lancé, il publie le bloc %1</source>
        <translation>Sensors: relayeur-sensors started, it publishes the block %1</translation>
    </message>
    <message>
        <source>Capteurs : relayeur-sensors n&apos;a pas publié le bloc %1 en 1 s, il est arrêté</source>
        <translation>Sensors: relayeur-sensors did not publish the block %1 within 1 s, it is stopped</translation>
    </message>
</context>
<context>
    <name>SerialPanel</name>
    <message>
        <source>périphérique débranché ou en panne</source>
        <translation>device unplugged or out of order</translation>
    </message>
    <message>
        <source>périphérique introuvable</source>
        <translation>device not found</translation>
    </message>
    <message>
        <source>accès refusé ou port déjà utilisé</source>
        <translation>access denied or port already in use</translation>
    </message>
    <message>
        <source>réglage 9600,n,8,1 refusé</source>
        <translation>setting 9600,n,8,1 refused</translation>
    </message>
    <message>
        <source>erreur</source>
        <translation>error</translation>
    </message>
    <message>
        <source>erreur d&apos;écriture</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>Port série %1 retrouvé</source>
        <translation>Serial port %1 found again</translation>
    </message>
    <message>
        <source>Port série : aucun périphérique (COM ou [ports] de param.ini)</source>
        <translation>Serial port: no device (COM or [ports] of param.ini)</translation>
    </message>
    <message>
        <source>Port série %1 inaccessible : %2</source>
        <translation>Serial port %1 unreachable: %2</translation>
    </message>
    <message>
        <source>Port série %1 perdu : %2</source>
        <translation>Serial port %1 lost: %2</translation>
    </message>
</context>
<context>
    <name>SessionWatch</name>
    <message>
        <source>Veille de l&apos;afficheur : ni session logind ni économiseur d&apos;écran (%1) : le verrouillage n&apos;est pas suivi</source>
        <translation>Panel sleep: neither a logind session nor a screen saver (%1): the lock is not followed</translation>
    </message>
    <message>
        <source>Veille de l&apos;afficheur : module D-Bus introuvable ou illisible (%1) : la session et le lecteur ne sont pas suivis</source>
        <translation>Panel sleep: D-Bus module missing or unreadable (%1): the session and the player are not followed</translation>
    </message>
</context>
<context>
    <name>SettingsDir</name>
    <message>
        <source>impossible de créer %1 : %2</source>
        <translation>cannot make %1: %2</translation>
    </message>
    <message>
        <source>%1 par défaut introuvable dans %2</source>
        <translation>default %1 not found in %2</translation>
    </message>
    <message>
        <source>impossible de copier %1 dans %2</source>
        <translation>cannot copy %1 into %2</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message>
        <source>Dossier de réglages %1 (--config-dir) : ce n&apos;est pas un dossier, le programme démarre sans param.ini</source>
        <translation>Settings folder %1 (--config-dir): it is not a folder, the program starts without param.ini</translation>
    </message>
    <message>
        <source>Dossier de réglages %1 (--config-dir) introuvable : il n&apos;est pas créé, le programme démarre sans param.ini</source>
        <translation>Settings folder %1 (--config-dir) not found: it is not made, the program starts without param.ini</translation>
    </message>
    <message>
        <source>verrou de copie unique indisponible : %1</source>
        <translation>single-copy lock unavailable: %1</translation>
    </message>
    <message>
        <source>verrou de copie unique indisponible : %1 : %2</source>
        <translation>single-copy lock unavailable: %1: %2</translation>
    </message>
    <message>
        <source>une copie de %1 est déja en cour d&apos;éxécution.</source>
        <translation>a copy of %1 is already running.</translation>
    </message>
    <message>
        <source>--start sans --profile : rien à envoyer</source>
        <translation>--start without --profile: nothing to send</translation>
    </message>
    <message>
        <source>le profil %1 n&apos;a pas été chargé : %2 ; rien n&apos;est envoyé</source>
        <translation>the profile %1 was not loaded: %2; nothing is sent</translation>
    </message>
</context>
<context>
    <name>TerminalMain</name>
    <message>
        <source>Aucun profil chargé : lancez relayeur --terminal --profile FICHIER --start, ou mettez reprendre=1 dans [parametres] de %1 pour reprendre au démarrage le dernier profil ouvert</source>
        <translation>No profile loaded: run relayeur --terminal --profile FILE --start, or put reprendre=1 in [parametres] of %1 to resume the last opened profile at start-up</translation>
    </message>
    <message>
        <source>Aucun profil chargé : lancez relayeur --terminal --profile FICHIER --start</source>
        <translation>No profile loaded: run relayeur --terminal --profile FILE --start</translation>
    </message>
    <message>
        <source>Aucun profil chargé : lancez relayeur --terminal --profile FICHIER --start (le dernier profil n&apos;a pas pu être repris : --print-log dit pourquoi)</source>
        <translation>No profile loaded: run relayeur --terminal --profile FILE --start (the last profile could not be resumed: --print-log says why)</translation>
    </message>
    <message>
        <source>%1 — page %2</source>
        <translation>%1 — page %2</translation>
    </message>
    <message>
        <source>%1 — aucun profil chargé</source>
        <translation>%1 — no profile loaded</translation>
    </message>
    <message>
        <source>Relayeur est en marche : son afficheur n&apos;est pas touché.</source>
        <translation>Relayeur is running: its panel is left alone.</translation>
    </message>
    <message>
        <source>impossible de lancer la fenêtre (%1 : %2) ; relayeur --terminal fonctionne sans elle</source>
        <translation>cannot start the window (%1: %2); relayeur --terminal works without it</translation>
    </message>
    <message>
        <source>pas d&apos;écran graphique (DISPLAY) : lancez relayeur --terminal pour voir l&apos;afficheur dans le terminal</source>
        <translation>no graphical display (DISPLAY): run relayeur --terminal to see the panel in the terminal</translation>
    </message>
</context>
<context>
    <name>VariableCatalogue</name>
    <message>
        <source>mémoire totale (Mo)</source>
        <translation>total memory (MB)</translation>
    </message>
    <message>
        <source>mémoire utilisée (Mo)</source>
        <translation>used memory (MB)</translation>
    </message>
    <message>
        <source>mémoire libre (Mo)</source>
        <translation>free memory (MB)</translation>
    </message>
    <message>
        <source>mémoire avec swap, totale (Mo)</source>
        <translation>memory with swap, total (MB)</translation>
    </message>
    <message>
        <source>mémoire avec swap, utilisée (Mo)</source>
        <translation>memory with swap, used (MB)</translation>
    </message>
    <message>
        <source>mémoire avec swap, libre (Mo)</source>
        <translation>memory with swap, free (MB)</translation>
    </message>
    <message>
        <source>date</source>
        <translation>date</translation>
    </message>
    <message>
        <source>heure</source>
        <translation>time</translation>
    </message>
    <message>
        <source>adresses IP de la machine</source>
        <translation>IP addresses of this machine</translation>
    </message>
    <message>
        <source>grande horloge sur tout l&apos;afficheur</source>
        <translation>big clock over the whole display</translation>
    </message>
    <message>
        <source>température %1 (°C)</source>
        <translation>temperature %1 (°C)</translation>
    </message>
    <message>
        <source>tension %1 (V)</source>
        <translation>voltage %1 (V)</translation>
    </message>
    <message>
        <source>ventilateur %1 (tr/min)</source>
        <translation>fan %1 (rpm)</translation>
    </message>
    <message>
        <source>fréquence du processeur (MHz)</source>
        <translation>processor frequency (MHz)</translation>
    </message>
    <message>
        <source>charge du processeur (%)</source>
        <translation>processor load (%)</translation>
    </message>
    <message>
        <source>titre du morceau</source>
        <translation>track title</translation>
    </message>
    <message>
        <source>artiste</source>
        <translation>artist</translation>
    </message>
    <message>
        <source>album</source>
        <translation>album</translation>
    </message>
    <message>
        <source>année</source>
        <translation>year</translation>
    </message>
    <message>
        <source>genre</source>
        <translation>genre</translation>
    </message>
    <message>
        <source>commentaire</source>
        <translation>comment</translation>
    </message>
    <message>
        <source>temps écoulé (mm:ss)</source>
        <translation>elapsed time (mm:ss)</translation>
    </message>
    <message>
        <source>durée du morceau (mm:ss)</source>
        <translation>track length (mm:ss)</translation>
    </message>
    <message>
        <source>temps restant (mm:ss)</source>
        <translation>remaining time (mm:ss)</translation>
    </message>
    <message>
        <source>temps écoulé (s)</source>
        <translation>elapsed time (s)</translation>
    </message>
    <message>
        <source>durée du morceau (s)</source>
        <translation>track length (s)</translation>
    </message>
    <message>
        <source>temps restant (s)</source>
        <translation>remaining time (s)</translation>
    </message>
    <message>
        <source>place dans la liste de lecture</source>
        <translation>position in the playlist</translation>
    </message>
    <message>
        <source>morceaux dans la liste de lecture</source>
        <translation>tracks in the playlist</translation>
    </message>
    <message>
        <source>débit (kbit/s)</source>
        <translation>bitrate (kbit/s)</translation>
    </message>
    <message>
        <source>échantillonnage (kHz)</source>
        <translation>sample rate (kHz)</translation>
    </message>
    <message>
        <source>avancement de l&apos;unité de travail (%)</source>
        <translation>work unit progress (%)</translation>
    </message>
    <message>
        <source>unités de travail en attente</source>
        <translation>work units waiting</translation>
    </message>
    <message>
        <source>unités de travail terminées</source>
        <translation>work units finished</translation>
    </message>
    <message>
        <source>nom du joueur</source>
        <translation>player name</translation>
    </message>
    <message>
        <source>images par seconde</source>
        <translation>frames per second</translation>
    </message>
    <message>
        <source>joueurs</source>
        <translation>players</translation>
    </message>
    <message>
        <source>équipes</source>
        <translation>teams</translation>
    </message>
    <message>
        <source>victimes du joueur</source>
        <translation>player&apos;s kills</translation>
    </message>
    <message>
        <source>morts du joueur</source>
        <translation>player&apos;s deaths</translation>
    </message>
    <message>
        <source>Système</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Capteurs</source>
        <translation>Sensors</translation>
    </message>
    <message>
        <source>Lecteur multimédia</source>
        <translation>Media player</translation>
    </message>
    <message>
        <source>SETI@home</source>
        <translation>SETI@home</translation>
    </message>
    <message>
        <source>Half-Life</source>
        <translation>Half-Life</translation>
    </message>
    <message>
        <source>la valeur « nom » de [valeurs] (commande ou fichier)</source>
        <translation>the value « nom » of [valeurs] (a command or a file)</translation>
    </message>
    <message>
        <source>le dernier message d&apos;un sujet MQTT</source>
        <translation>the last message of an MQTT topic</translation>
    </message>
    <message>
        <source>un champ du dernier message JSON d&apos;un sujet MQTT</source>
        <translation>a field of the last JSON message of an MQTT topic</translation>
    </message>
    <message>
        <source>Valeurs et MQTT</source>
        <translation>Values and MQTT</translation>
    </message>
</context>
<context>
    <name>VariableMenu</name>
    <message>
        <source>%1 — %2 : %3</source>
        <translation>%1 — %2: %3</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>À propos de Relayeur</source>
        <translation>About Relayeur</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Pour : Windows 95 - 98 - SE - Me NT - 2000 - XP</source>
        <translation>For: Windows 95 - 98 - SE - Me NT - 2000 - XP</translation>
    </message>
    <message>
        <source>Initiateur :</source>
        <translation>Initiator:</translation>
    </message>
    <message>
        <source>L&apos;équipe Relayeur</source>
        <translation>The Relayeur team</translation>
    </message>
    <message>
        <source>Concepteur partie hardware :</source>
        <translation>Hardware designer:</translation>
    </message>
    <message>
        <source>Atelier matériel Relayeur</source>
        <translation>Relayeur hardware workshop</translation>
    </message>
    <message>
        <source>Programmeurs :</source>
        <translation>Programmers:</translation>
    </message>
    <message>
        <source>Développeurs Relayeur</source>
        <translation>Relayeur developers</translation>
    </message>
    <message>
        <source>Port Linux de Relayeur</source>
        <translation>Linux port of Relayeur</translation>
    </message>
    <message>
        <source>Pilotes des afficheurs</source>
        <translation>Panel drivers</translation>
    </message>
    <message>
        <source>Sources de données</source>
        <translation>Data sources</translation>
    </message>
    <message>
        <source>Fenêtre et messages</source>
        <translation>Window and messages</translation>
    </message>
    <message>
        <source>Documentation :</source>
        <translation>Documentation:</translation>
    </message>
    <message>
        <source>Documentation Relayeur</source>
        <translation>Relayeur documentation</translation>
    </message>
    <message>
        <source>Site Internet :</source>
        <translation>Web site:</translation>
    </message>
    <message>
        <source>Webmestre Relayeur</source>
        <translation>Relayeur webmaster</translation>
    </message>
    <message>
        <source>Plus généralement : tous les</source>
        <translation>More generally: all the</translation>
    </message>
    <message>
        <source>forumeurs</source>
        <translation>forum members</translation>
    </message>
    <message>
        <source>du site</source>
        <translation>of the site</translation>
    </message>
    <message>
        <source>relayeur.github.io</source>
        <translation>relayeur.github.io</translation>
    </message>
    <message>
        <source>Avertissement : ...</source>
        <translation>Warning: ...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Infos système...</source>
        <translation>&amp;System info...</translation>
    </message>
    <message>
        <source>À propos de %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>mailto : %1</source>
        <translation>mailto: %1</translation>
    </message>
    <message>
        <source>A propos de %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Les informations système ne sont pas disponibles actuellement</source>
        <translation>System information is not available at the moment</translation>
    </message>
</context>
<context>
    <name>mbm</name>
    <message>
        <source>Vous n&apos;avez pas lancer motherBoard Monitor.
<byte value="xd"/>Vous ne pourrais pas accéder aux variables de Mbm</source>
        <translation>You have not started Motherboard Monitor.
<byte value="xd"/>You will not be able to use the Mbm variables</translation>
    </message>
</context>
<context>
    <name>relayeur-send</name>
    <message>
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
        <source>relayeur-send : %1</source>
        <translation>relayeur-send: %1</translation>
    </message>
    <message>
        <source>échappement incorrect (\xHH ou \\ attendu)</source>
        <translation>wrong escape (\xHH or \\ expected)</translation>
    </message>
    <message>
        <source>un nombre de secondes de 0 à %1 est attendu</source>
        <translation>a number of seconds from 0 to %1 is expected</translation>
    </message>
    <message>
        <source>un nombre de 0 à 4294967295 est attendu</source>
        <translation>a number from 0 to 4294967295 is expected</translation>
    </message>
    <message>
        <source>un identifiant hexadécimal est attendu</source>
        <translation>a hexadecimal identifier is expected</translation>
    </message>
    <message>
        <source>--raw ne se combine pas avec TEXTE MODE LIGNE</source>
        <translation>--raw does not go with TEXT MODE LINE</translation>
    </message>
    <message>
        <source>le texte n&apos;est lisible ni dans l&apos;encodage de la locale ni en UTF-8</source>
        <translation>the text is readable neither in the locale&apos;s encoding nor in UTF-8</translation>
    </message>
    <message>
        <source>MODE : un chiffre de 0 à 4 est attendu</source>
        <translation>MODE: a digit from 0 to 4 is expected</translation>
    </message>
    <message>
        <source>LIGNE : un chiffre de 0 à 3 est attendu</source>
        <translation>LINE: a digit from 0 to 3 is expected</translation>
    </message>
    <message>
        <source>aucun Relayeur ne peut être joint : %1</source>
        <translation>no Relayeur can be reached: %1</translation>
    </message>
    <message>
        <source>aucun Relayeur ne tourne pour cet utilisateur (rien n&apos;écoute sur %1)</source>
        <translation>no Relayeur is running for this user (nothing listens on %1)</translation>
    </message>
    <message>
        <source>aucun Relayeur n&apos;a la fenêtre %1 (rien n&apos;écoute sur %2)</source>
        <translation>no Relayeur has window %1 (nothing listens on %2)</translation>
    </message>
    <message>
        <source>Relayeur n&apos;a pas répondu : le message est trop long (plus de %1 octets) ou Relayeur s&apos;est arrêté</source>
        <translation>Relayeur did not answer: the message is too long (more than %1 bytes) or Relayeur has stopped</translation>
    </message>
    <message>
        <source>Relayeur a laissé le message de côté : il faut dwData 3 (ou 4 après --hold, que seul un Relayeur récent connaît) et, dans les 255 premiers octets, un texte suivi du chiffre du mode et de celui de la ligne (0 à 3) ; son journal dit pourquoi</source>
        <translation>Relayeur set the message aside: it needs dwData 3 (or 4 after --hold, which only a recent Relayeur knows) and, in the first 255 bytes, a text followed by the mode&apos;s digit and the line&apos;s (0 to 3); its log says why</translation>
    </message>
</context>
<context>
    <name>relayeur-sensors</name>
    <message>
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
        <source>relayeur-sensors : %1</source>
        <translation>relayeur-sensors: %1</translation>
    </message>
    <message>
        <source>Relevé écrit dans %1 :</source>
        <translation>Reading written in %1:</translation>
    </message>
    <message>
        <source>  fan%1 = %2 tr/min</source>
        <translation>  fan%1 = %2 rpm</translation>
    </message>
    <message>
        <source>  fréquence = %1 MHz</source>
        <translation>  frequency = %1 MHz</translation>
    </message>
    <message>
        <source>  charge = %1 %</source>
        <translation>  load = %1 %</translation>
    </message>
    <message>
        <source>%1 : aucun</source>
        <translation>%1: none</translation>
    </message>
    <message>
        <source>%1 :</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>Emplacements (%1) : aucun</source>
        <translation>Slots (%1): none</translation>
    </message>
    <message>
        <source>Emplacements (%1) :</source>
        <translation>Slots (%1):</translation>
    </message>
    <message>
        <source>Bloc %1 retiré.</source>
        <translation>Block %1 removed.</translation>
    </message>
    <message>
        <source>Aucun bloc %1 à retirer.</source>
        <translation>No block %1 to remove.</translation>
    </message>
    <message>
        <source>le bloc %1 est publié par un relayeur-sensors en cours : arrêtez-le d&apos;abord</source>
        <translation>block %1 is published by a running relayeur-sensors: stop it first</translation>
    </message>
    <message>
        <source>impossible de retirer le bloc %1 : %2</source>
        <translation>cannot remove block %1: %2</translation>
    </message>
    <message>
        <source>Bloc %1 laissé en place : il existait avant cette publication (relayeur-sensors --remove pour le retirer).</source>
        <translation>Block %1 left in place: it existed before this publication (relayeur-sensors --remove removes it).</translation>
    </message>
    <message>
        <source>écriture du bloc %1 impossible : %2</source>
        <translation>cannot write block %1: %2</translation>
    </message>
    <message>
        <source>libsensors ne démarre pas : %1</source>
        <translation>libsensors does not start: %1</translation>
    </message>
    <message>
        <source>Capteurs vus par libsensors</source>
        <translation>Sensors seen by libsensors</translation>
    </message>
    <message>
        <source>Capteurs sous %1</source>
        <translation>Sensors under %1</translation>
    </message>
    <message>
        <source>ordre par défaut, %1 absent</source>
        <translation>default order, %1 missing</translation>
    </message>
    <message>
        <source>un autre relayeur-sensors publie déjà le bloc %1 : celui-ci s&apos;arrête sans y toucher</source>
        <translation>another relayeur-sensors already publishes block %1: this one stops without touching it</translation>
    </message>
    <message>
        <source>impossible de créer le bloc %1 : %2</source>
        <translation>cannot create block %1: %2</translation>
    </message>
    <message>
        <source>Aucun capteur matériel (%1) : seules la charge et la fréquence du processeur sont publiées.</source>
        <translation>No hardware sensor (%1): only the processor load and frequency are published.</translation>
    </message>
    <message>
        <source>%1 capteur(s) de plus que les dix emplacements de leur sorte : non publiés.</source>
        <translation>%1 sensor(s) beyond the ten slots of their kind: not published.</translation>
    </message>
    <message>
        <source>%1 capteur(s) illisible(s) : non publiés.</source>
        <translation>%1 unreadable sensor(s): not published.</translation>
    </message>
    <message>
        <source>Le bloc reste en place (relayeur-sensors --remove pour le retirer).</source>
        <translation>The block stays in place (relayeur-sensors --remove removes it).</translation>
    </message>
    <message>
        <source>Publication chaque seconde dans le bloc %1 ; Ctrl+C pour arrêter.</source>
        <translation>Publishing every second in block %1; Ctrl+C to stop.</translation>
    </message>
</context>
</TS>
