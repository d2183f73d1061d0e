// 本編：夕暮れの屋上、選択肢、二つの結末。
//
// 行頭が \ でない行は地の文としてメッセージ窓に送られる（Startup.s の \et）。
// 文中のタグ：[rb,漢字,よみ] ルビ、[c,$AARRGGBB]…[c] 色、[w,ミリ秒] 待ち、[n] 改行。
// 行末の \sub,@@PAGE がクリックを待ち、次のページに進める。

@@PROLOGUE
\cal,route=0
\cal,chosen=""
\scp,bg\l,"bg\rooftop.png"\p,-20,-20,0,0\e
// 夕暮れの曲（ギターとオカリナ）が、屋上の場面と一緒に入ってくる。
\sub,@@BGM,self,"bgm/rooftop.ogg",1500
\scp,eff\fdi,2,1000,$FFFFFFFFFF000000,0\wait,1000

放課後の屋上。[w,300]西の空が、[c,$FFFFC078]茜色[c]に染まっていく。\sub,@@PAGE
「屋上で待ってる」――[w,200][n]そう書かれたメモが、今朝、僕の机に入っていた。\sub,@@PAGE
重い扉を開けると、フェンスの前に見慣れた姿があった。\sub,@@PAGE

// 人物はクロスフェードで現れる：今の画面を止め、人物を置き、止めた画面から溶かす。
\scp,eff\c
\scp,chara\l,"chara\mio.png"\p,220,40,10,0\e
\scp,eff\fdi,0,600\wait,600

\sub,@@NAME,self,"美桜"
「あ、来てくれたんだ。[w,300]……遅いよ、もう」\sub,@@PAGE
\sub,@@NAME,self,""
[rb,美桜,みお]。[w,200]同じクラスの、ちょっと変わった女の子だ。\sub,@@PAGE
\sub,@@NAME,self,"美桜"
「ねえ、知ってる？[w,300]今夜、[rb,流星群,りゅうせいぐん]が見られるんだって」\sub,@@PAGE
\sub,@@NAME,self,"湊"
「流星群？」\sub,@@PAGE
\sub,@@NAME,self,"美桜"
「うん。[w,200]ここって、町でいちばん空に近い場所でしょ？[n]だから、一緒に見られたらいいなって」\sub,@@PAGE

// 突風：カメラを揺らす（イージング 6 は揺れ。優先度 1000 未満の層だけが揺れる）。
\sub,@@NAME,self,""
そのとき、強い風が屋上を吹き抜けた。\scp,cam\mm,6\p,0,0,700\sub,@@PAGE
\sub,@@NAME,self,"美桜"
「きゃっ……！[w,300]……び、びっくりした」\sub,@@PAGE
「それで……どうかな。[w,400][n]日が沈むまで、ここで待ってみない？」\msg

// 選択肢：二つのボタンを出して、押されるのを待つ。
\scp,choice1\l,"anim\button.b","system\button_choice.png"\p,120,140,600,0\ts,0,16,560,46\us,"stay"\ui,1
\scp,choice1\t,[s,26,26][pc,一緒に星を待つ]\e
\scp,choice2\l,"anim\button.b","system\button_choice.png"\p,120,230,600,0\ts,0,16,560,46\us,"home"\ui,2
\scp,choice2\t,[s,26,26][pc,今日はもう帰る]\e
\btn
\cal,route=ResultBtnInt
\wait,300
\scp,choice1,choice2\i
\scp,m\lg\cc
\if,route==1
\jmp,@@STAY
\fi
\jmp,@@HOME

// 結末その一：一緒に星を待つ。
@@STAY
\cal,chosen="星を待った"
\sub,@@NAME,self,"湊"
「……うん。待ってみようか」\sub,@@PAGE
\sub,@@NAME,self,"美桜"
「ほんと？[w,300][c,$FFFFE08A]やった！[c]」\sub,@@PAGE

// 夜へ：ルール画像の明るいところ（左上）から順に、新しい場面が現れる。
// 夕暮れの曲は消えていき、夜空にはタイトルの星空の曲が戻ってくる。
\sub,@@WINDOW_OFF
\sub,@@BGM_OFF,self,1500
\scp,eff\c
\scp,chara\i
\scp,bg\l,"bg\night.png"\p,0,0,0,0\e
\scp,eff\fdi,1,1500,"rule\diagonal.bmp"\wait,1600
\sub,@@BGM,self,"bgm/title.ogg",2000

日が沈むと、空には数えきれない星が[rb,瞬,またた]きはじめた。\sub,@@PAGE
// 窓をしまい、カメラが夜空を右へなめていく（イージング 3 は減速）。
\sub,@@WINDOW_OFF
\scp,cam\mm,3\p,160,0,3000\wait,3000
\sub,@@NAME,self,"美桜"
\scp,dsnd[0]\p,0
「あっ、[w,200]流れた！[w,400]……見た？[rb,今,いま]の」\sub,@@PAGE
\sub,@@NAME,self,"湊"
「……うん。[w,300]ちゃんと見えた」\sub,@@PAGE
\sub,@@NAME,self,"美桜"
「[c,$FFFFE08A]来年も、また一緒に見ようね[c]」\sub,@@PAGE
\jmp,@@ENDING

// 結末その二：先に帰る。
@@HOME
\cal,chosen="先に帰った"
\sub,@@NAME,self,"湊"
「ごめん、今日はちょっと用事があって……」\sub,@@PAGE
\sub,@@NAME,self,"美桜"
「……そっか。[w,400]うん、しかたないよね」\sub,@@PAGE

// 家へ：クロスフェードで部屋に移る。曲は消え、部屋は静かなまま。
\sub,@@WINDOW_OFF
\sub,@@BGM_OFF,self,1200
\scp,eff\c
\scp,chara\i
\scp,bg\l,"bg\room.png"\p,0,0,0,0\e
\scp,eff\fdi,0,1200\wait,1300

家に帰っても、別れぎわの顔が頭から離れなかった。\sub,@@PAGE
窓を開けて、夜空を見上げる。[w,400]……そのとき。\sub,@@PAGE
\scp,dsnd[0]\p,0
一筋の光が、すっと[rb,夜空,よぞら]を横切った。\sub,@@PAGE
\sub,@@NAME,self,"湊"
（……明日、ちゃんと謝ろう）\sub,@@PAGE
\jmp,@@ENDING

// 結び：白へ溶けて「おわり」、黒へ溶けてタイトルに戻る。
// 「おわり」には短い結びの曲を一度だけ（\p,0）鳴らす。
@@ENDING
\sub,@@WINDOW_OFF
\sub,@@BGM_OFF,self,1500
\scp,eff\fdo,2,1500,$FFFFFFFFFFF8F2E8,0\wait,1600
\scp,chara\i
\scp,bg\fr,0,0,800,600,$FFFFFFFFFFF8F2E8\p,0,0,0,0\e
\scp,cam\i
\scp,eff\i
\scp,logo\p,0,240,500,0\ts,0,0,800,120\sv,80
\scp,logo\t,[f,2][s,40,40][pi,0,14][c,$FF303048][pc,おわり][n][s,20,20][pc,遊んでくれて、ありがとう。]\e
\scp,snd[0]\l,"bgm/ending.ogg"\p,0
\msg\clk
// 見た結末を覚えておく：route の 1 と 2 をビットとして重ねる。
\cal,endings=endings+1,seen=seen|route
\scp,snd[0]\v,0,1200
\scp,eff\fdo,2,1200,$FFFFFFFFFF000000,0\wait,1300
\scp,logo\cc\i
\scp,bg\i
\go,@@TITLE,"title.s"

@@@common.s
