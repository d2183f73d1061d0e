// タイトル画面：黒からフェードインし、ボタンが押されるのを待つ。
// ボタンを押したときのクリック音は、ボタンのアニメーション（anim\button.b）に入っている。

@@TITLE
\scp,cam\i
\scp,bg\l,"bg\title.png"\p,0,0,0,0\e
\scp,logo\p,0,110,500,0\ts,0,0,800,140\sv,1
\scp,logo\t,[f,1][s,48,48][pi,6,16][c,$FFFFF0C8][pc,星降る屋上で][n]
\scp,logo\t,[f,2][s,22,22][pi,0,0][c,$FFC8D0F4][pc,Mavu デモゲーム]\e
\scp,start\l,"anim\button.b"\p,250,330,600,0\ts,0,12,300,60\us,"start"\ui,1
\scp,start\t,[f,1][s,40,40][pc,はじめる]\e
\scp,quit\l,"anim\button.b"\p,250,414,600,0\ts,0,12,300,60\us,"quit"\ui,2
\scp,quit\t,[f,1][s,40,40][pc,おわる]\e
// 星空の曲も、画面と一緒にフェードインする。
\sub,@@BGM,self,"bgm/title.ogg",800
\scp,eff\fdi,2,800,$FFFFFFFFFF000000,0\wait,800

@@TITLE_WAIT
\btn
\wait,300
\if,ResultBtnInt==2
\sub,@@BGM_OFF,self,600
\scp,eff\fdo,2,600,$FFFFFFFFFF000000,0\wait,700
\scp\e
\fi
\sub,@@BGM_OFF,self,800
\scp,eff\fdo,2,800,$FFFFFFFFFF000000,0\wait,900
\scp,start,quit\i
\scp,logo\cc\i
\go,@@PROLOGUE,"story.s"

@@@common.s
