<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr_FR">
<context>
    <name>CommandLine</name>
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
        <source>--detecter se combine avec --config-dir seulement</source>
        <translation>--detecter goes with --config-dir only</translation>
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
        <source>Label2</source>
        <translation>Label2</translation>
    </message>
    <message>
        <source>Identifiant de la fenêtre, pour les programmes qui envoient une ligne</source>
        <translation>Identifier of the window, for the programs that send a line</translation>
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
        <source>&amp;Détecter l&apos;afficheur…</source>
        <translation>&amp;Detect the panel…</translation>
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
    <name>MprisModuleLink</name>
    <message>
        <source>Lecteur multimédia : module MPRIS introuvable ou illisible (%1) : aucun lecteur ne sera vu</source>
        <translation>Media player: MPRIS module not found or unreadable (%1): no player will be seen</translation>
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
</TS>
