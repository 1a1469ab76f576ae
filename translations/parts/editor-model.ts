<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="fr_FR">
<context>
    <name>Engine</name>
    <message>
        <location filename="../../src/engine/EngineTrial.cpp" line="11"/>
        <source>Essai sur l&apos;afficheur de la page en cours d&apos;édition</source>
        <translation>Trying the page being edited on the display</translation>
    </message>
    <message>
        <location filename="../../src/engine/EngineTrial.cpp" line="63"/>
        <source>Fin de l&apos;essai sur l&apos;afficheur</source>
        <translation>End of the trial on the display</translation>
    </message>
</context>
<context>
    <name>ProfileMistakes</name>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="50"/>
        <source>Page %1 : </source>
        <translation>Page %1: </translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="51"/>
        <source>Page %1, ligne %2 : </source>
        <translation>Page %1, line %2: </translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="62"/>
        <source>le minimum</source>
        <translation>the minimum</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="63"/>
        <source>le maximum</source>
        <translation>the maximum</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="64"/>
        <source>la valeur</source>
        <translation>the value</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="69"/>
        <source>%1 du bargraphe n&apos;est pas un nombre (« %2 ») ; la ligne s&apos;écrit « minimum maximum valeur [texte] », un seul espace entre eux</source>
        <translation>%1 of the bar graph is not a number (&quot;%2&quot;); the line reads &quot;minimum maximum value [text]&quot;, with a single space between them</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="83"/>
        <source>le maximum du bargraphe (%1) doit être au-dessus de son minimum (%2), de 32767 au plus</source>
        <translation>the maximum of the bar graph (%1) must be above its minimum (%2), by 32767 at most</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="101"/>
        <source>l&apos;afficheur ne peut pas montrer « %1 », qui deviendra « ? »</source>
        <translation>the display cannot show &quot;%1&quot;, which will become &quot;?&quot;</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="127"/>
        <source>%1 caractères, le programme n&apos;en lit que %2 : la fin sera perdue</source>
        <translation>%1 characters, the program reads only %2: the end will be lost</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="142"/>
        <source>des variables sur une ligne après la grande horloge (ligne %1) l&apos;empêchent de s&apos;afficher</source>
        <translation>variables on a line after the big clock (line %1) keep it from showing</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="155"/>
        <source>la durée (%1 s) doit être de 0 à %2 secondes</source>
        <translation>the duration (%1 s) must be from 0 to %2 seconds</translation>
    </message>
    <message>
        <location filename="../../src/profile/ProfileMistakes.cpp" line="163"/>
        <source>la page suivante (%1) n&apos;existe pas : le profil a %2 page(s), et 0 arrête la rotation</source>
        <translation>the next page (%1) does not exist: the profile has %2 page(s), and 0 stops the rotation</translation>
    </message>
</context>
<context>
    <name>VariableCatalogue</name>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="13"/>
        <source>mémoire totale (Mo)</source>
        <translation>total memory (MB)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="15"/>
        <source>mémoire utilisée (Mo)</source>
        <translation>used memory (MB)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="17"/>
        <source>mémoire libre (Mo)</source>
        <translation>free memory (MB)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="19"/>
        <source>mémoire avec swap, totale (Mo)</source>
        <translation>memory with swap, total (MB)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="21"/>
        <source>mémoire avec swap, utilisée (Mo)</source>
        <translation>memory with swap, used (MB)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="23"/>
        <source>mémoire avec swap, libre (Mo)</source>
        <translation>memory with swap, free (MB)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="24"/>
        <source>date</source>
        <translation>date</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="25"/>
        <source>heure</source>
        <translation>time</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="27"/>
        <source>adresses IP de la machine</source>
        <translation>IP addresses of this machine</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="29"/>
        <source>grande horloge sur tout l&apos;afficheur</source>
        <translation>big clock over the whole display</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="33"/>
        <source>température %1 (°C)</source>
        <translation>temperature %1 (°C)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="38"/>
        <source>tension %1 (V)</source>
        <translation>voltage %1 (V)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="44"/>
        <source>ventilateur %1 (tr/min)</source>
        <translation>fan %1 (rpm)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="49"/>
        <source>fréquence du processeur (MHz)</source>
        <translation>processor frequency (MHz)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="51"/>
        <source>charge du processeur (%)</source>
        <translation>processor load (%)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="53"/>
        <source>titre du morceau</source>
        <translation>track title</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="55"/>
        <source>artiste</source>
        <translation>artist</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="57"/>
        <source>album</source>
        <translation>album</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="59"/>
        <source>année</source>
        <translation>year</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="61"/>
        <source>genre</source>
        <translation>genre</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="63"/>
        <source>commentaire</source>
        <translation>comment</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="65"/>
        <source>temps écoulé (mm:ss)</source>
        <translation>elapsed time (mm:ss)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="67"/>
        <source>durée du morceau (mm:ss)</source>
        <translation>track length (mm:ss)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="69"/>
        <source>temps restant (mm:ss)</source>
        <translation>remaining time (mm:ss)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="71"/>
        <source>temps écoulé (s)</source>
        <translation>elapsed time (s)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="73"/>
        <source>durée du morceau (s)</source>
        <translation>track length (s)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="75"/>
        <source>temps restant (s)</source>
        <translation>remaining time (s)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="77"/>
        <source>place dans la liste de lecture</source>
        <translation>position in the playlist</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="79"/>
        <source>morceaux dans la liste de lecture</source>
        <translation>tracks in the playlist</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="82"/>
        <source>débit (kbit/s)</source>
        <translation>bitrate (kbit/s)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="84"/>
        <source>échantillonnage (kHz)</source>
        <translation>sample rate (kHz)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="86"/>
        <source>avancement de l&apos;unité de travail (%)</source>
        <translation>work unit progress (%)</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="89"/>
        <source>unités de travail en attente</source>
        <translation>work units waiting</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="91"/>
        <source>unités de travail terminées</source>
        <translation>work units finished</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="93"/>
        <source>nom du joueur</source>
        <translation>player name</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="95"/>
        <source>images par seconde</source>
        <translation>frames per second</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="97"/>
        <source>joueurs</source>
        <translation>players</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="98"/>
        <source>équipes</source>
        <translation>teams</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="101"/>
        <source>victimes du joueur</source>
        <translation>player&apos;s kills</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="103"/>
        <source>morts du joueur</source>
        <translation>player&apos;s deaths</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="119"/>
        <source>Système</source>
        <translation>System</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="121"/>
        <source>Capteurs</source>
        <translation>Sensors</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="123"/>
        <source>Lecteur multimédia</source>
        <translation>Media player</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="125"/>
        <source>SETI@home</source>
        <translation>SETI@home</translation>
    </message>
    <message>
        <location filename="../../src/render/VariableCatalogue.cpp" line="127"/>
        <source>Half-Life</source>
        <translation>Half-Life</translation>
    </message>
</context>
</TS>
